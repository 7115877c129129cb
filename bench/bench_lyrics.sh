#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Melvo developers
# CPU time of the whole program playing a 30-second song with its lyrics window
# open: without lyrics, with plain lyrics, and with timed lyrics whose sung
# line changes every half second (a worst case) or every three seconds. The window is offscreen and the sound goes
# to a null sink of a private sound server (started when none answers), which
# also gives the program its master volume.
#
#   bench/bench_lyrics.sh [build-dir]
set -euo pipefail

if ! pactl info >/dev/null 2>&1 && [ -z "${BENCH_LYRICS_SERVER:-}" ]; then
    BENCH_LYRICS_SERVER=1 exec bash "$(dirname "$0")/../tools/with-sound-server.sh" "$0" "$@"
fi

build=${1:-build}
program="$build/melvo"
[ -x "$program" ] || { echo "build $program first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sox -q -r 44100 -c 2 -n -b 16 "$work/song.wav" synth 30 pinknoise vol 0.3
lame --quiet -V 2 "$work/song.wav" "$work/song.mp3"
timed() { # tenths of a second between lines
    local t
    for i in $(seq 0 59); do
        t=$((i * $1))
        printf '[%02d:%02d.%d0]line %d of the lyrics, long enough to fill the box\r\n' \
            $((t / 600)) $((t / 10 % 60)) $((t % 10)) "$i"
    done
}
mkdir "$work/fast" "$work/slow"
timed 5 >"$work/fast/timed.lrc"
timed 30 >"$work/slow/timed.lrc"
sed 's/^\[[0-9:.]*\]//' "$work/fast/timed.lrc" >"$work/plain.txt"

# Plays the song once from start-up (automatic play, lyrics shown) and prints
# the CPU time the program used in 31.5 s.
measure() { # label lyrics-file-or-empty
    local run="$work/run-${1//[^a-z0-9]/-}"
    mkdir "$run"
    cp "$program" "$run/melvo"  # its data files then lie beside this copy
    cp "$work/song.mp3" "$run/song.mp3"
    [ -n "$2" ] && cp "$2" "$run/song.${2##*.}"
    printf '[MUSIC]\r\nAUTO=1\r\nKASI_DISPLAY=1\r\n' >"$run/mvMP3.ini"
    printf '%s\r\n' "$run/song.mp3" >"$run/mvMP3.csv"
    QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=pulseaudio "$run/melvo" 2>/dev/null &
    local pid=$!
    sleep 31.5
    local stat
    read -r -a stat <"/proc/$pid/stat"
    kill -TERM "$pid"
    wait "$pid" || true
    awk -v label="$1" -v u="${stat[13]}" -v s="${stat[14]}" -v t="$(getconf CLK_TCK)" \
        'BEGIN { printf "%-18s user %.2f s, system %.2f s, %.2f %% of a core\n", label, u/t, s/t, 100*(u+s)/t/31.5 }'
}

measure "no lyrics" ""
measure "plain lyrics" "$work/plain.txt"
measure "timed, 2 lines/s" "$work/fast/timed.lrc"
measure "timed, 1 line/3 s" "$work/slow/timed.lrc"
