#!/bin/bash
# Compares the CPU time of the engine playing a 60-second MP3 with that of
# `mpg123 -q -o pulse` playing the same file, both into a PulseAudio null
# sink. Starts its own sound server when none answers, and stops it after.
#
#   bench/cpu_vs_mpg123.sh [build-dir] [song.mp3]
set -euo pipefail

build=${1:-build}
bench="$build/bench/bench_playback"
[ -x "$bench" ] || { echo "build $bench first" >&2; exit 1; }
work=$(mktemp -d)
server_pid=
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

song=${2:-}
if [ -z "$song" ]; then
    song="$work/song60.mp3"
    sox -q -r 44100 -c 2 -n -b 16 "$work/song60.wav" synth 60 pinknoise vol 0.3
    lame --quiet -V 2 "$work/song60.wav" "$song"
fi

if ! pactl info >/dev/null 2>&1; then
    export XDG_RUNTIME_DIR="$work/run"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    pulseaudio --daemonize=yes --exit-idle-time=-1 --disallow-exit -n --use-pid-file=yes \
        --load="module-null-sink sink_name=nullsink rate=44100 channels=2" \
        --load="module-native-protocol-unix" --log-target=file:"$XDG_RUNTIME_DIR/pulse.log"
    until pactl info >/dev/null 2>&1; do sleep 0.05; done
    server_pid=$(cat "$XDG_RUNTIME_DIR/pulse/pid")
fi

TIMEFORMAT='wall %R s, user %U s, system %S s'
echo "engine (SDL pulseaudio driver):"
time SDL_AUDIODRIVER=pulseaudio "$bench" --play "$song"
echo "mpg123 -q -o pulse:"
time mpg123 -q -o pulse "$song"

# The whole program: the window (offscreen), its 100 ms timer and the engine,
# playing the song by automatic play from start-up, for one minute.
program="$build/melvo"
if [ -x "$program" ]; then
    mkdir "$work/program"
    cp "$program" "$work/program/melvo"  # its data files then lie beside this copy
    printf '[MUSIC]\r\nAUTO=1\r\n' > "$work/program/mvMP3.ini"
    printf '%s\r\n' "$song" > "$work/program/mvMP3.csv"
    QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=pulseaudio "$work/program/melvo" 2>/dev/null &
    pid=$!
    sleep 61.5
    read -r -a stat < "/proc/$pid/stat"
    ticks=$(getconf CLK_TCK)
    kill -TERM "$pid"
    wait "$pid" || true
    awk -v u="${stat[13]}" -v s="${stat[14]}" -v t="$ticks" \
        'BEGIN { printf "whole program, 61.5 s with 60 s of playing: user %.2f s, system %.2f s, %.2f %% of a core\n", u/t, s/t, 100*(u+s)/t/61.5 }'
fi
