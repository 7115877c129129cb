#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Melvo developers
# Makes the small MP3 files the playback tests decode and play, into
# tests/fixtures (or the folder given as the first argument).
#
# Needs sox, lame and eyeD3. Every tone lasts an odd number of samples so that a
# length that is off by one sample shows. The tests know these numbers:
#   cbr_tag, cbr_notag, vbr_tag, vbr_notag: 1 kHz sine, 44100 Hz stereo, 30001 samples
#   mono22k_tag: 1 kHz sine, 22050 Hz mono, 15001 samples
#   tone440, tone660, tone880: sine of that frequency, 44100 Hz stereo, 22050 samples (0.5 s)
#   steps: 1.5 s of 440 Hz then 1.5 s of 880 Hz, 44100 Hz stereo (which part is
#   heard tells where playing was)
# The "notag" files carry no LAME/Xing header (lame -t), so their decoded
# length includes the encoder's delay and padding.
#   timed_lyrics: 550 Hz sine, 44100 Hz stereo, 3 s, with an ID3v2.3 tag whose
#     lyrics frame (UTF-16) holds timed lyrics: a title header, then
#     0.5 s line one, 1.5 s and 2.5 s line two, 2.0 s line three
# Damaged inputs: truncated (cbr_tag cut in the middle of a frame), empty (0 bytes),
# random (8 KiB of pseudo-random bytes), huge_id3 (a 200 KiB ID3v2 tag in front
# of cbr_tag), wav_renamed (a PCM WAV file with the .mp3 name).
set -eu

out=${1:-"$(dirname "$0")/../tests/fixtures"}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tone() { # file rate channels samples frequency
    sox -q -r "$2" -c "$3" -n -b 16 "$1" synth "$4s" sine "$5" vol 0.5
}

tone "$work/k1.wav" 44100 2 30001 1000
lame --quiet -b 128 --cbr "$work/k1.wav" "$out/cbr_tag.mp3"
lame --quiet -b 128 --cbr -t "$work/k1.wav" "$out/cbr_notag.mp3"
lame --quiet -V 4 "$work/k1.wav" "$out/vbr_tag.mp3"
lame --quiet -V 4 -t "$work/k1.wav" "$out/vbr_notag.mp3"

tone "$work/m22.wav" 22050 1 15001 1000
lame --quiet -b 64 --cbr "$work/m22.wav" "$out/mono22k_tag.mp3"

for f in 440 660 880; do
    tone "$work/t$f.wav" 44100 2 22050 "$f"
    lame --quiet -b 128 --cbr "$work/t$f.wav" "$out/tone$f.mp3"
done

sox -q "$work/t440.wav" "$work/t440.wav" "$work/t440.wav" \
    "$work/t880.wav" "$work/t880.wav" "$work/t880.wav" "$work/steps.wav"
lame --quiet -b 128 --cbr "$work/steps.wav" "$out/steps.mp3"

size=$(wc -c <"$out/cbr_tag.mp3")
head -c $((size / 2 + 101)) "$out/cbr_tag.mp3" >"$out/truncated.mp3"
: >"$out/empty.mp3"
openssl enc -aes-128-ctr -nosalt -pbkdf2 -pass pass:melvo </dev/zero 2>/dev/null |
    head -c 8192 >"$out/random.mp3"

# ID3v2.4 header: "ID3", version 4.0, no flags, size as four 7-bit groups; the
# body is all padding (zero bytes), which a tag may legally be.
tag=204800
syncsafe() { printf "\\$(printf %03o $(($1 >> 21 & 127)))\\$(printf %03o $(($1 >> 14 & 127)))"
             printf "\\$(printf %03o $(($1 >> 7 & 127)))\\$(printf %03o $(($1 & 127)))"; }
{ printf 'ID3\004\000\000'; syncsafe $tag; head -c $tag /dev/zero; cat "$out/cbr_tag.mp3"; } \
    >"$out/huge_id3.mp3"

sox -q -r 44100 -c 2 -n -b 16 "$out/wav_renamed.mp3.wav" synth 0.25 sine 440 vol 0.5
mv "$out/wav_renamed.mp3.wav" "$out/wav_renamed.mp3"

tone "$work/timed.wav" 44100 2 132300 550
lame --quiet -b 32 --cbr "$work/timed.wav" "$out/timed_lyrics.mp3"
printf '[ti:テスト]\n[00:00.50]一行目\n[00:01.50][00:02.50]二行目\n[00:02.00]三行目\n' \
    >"$work/timed.lrc"
eyeD3 --quiet --no-color --to-v2.3 --add-lyrics "$work/timed.lrc" "$out/timed_lyrics.mp3" >/dev/null
