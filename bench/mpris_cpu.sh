#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Melvo developers
# The whole program's CPU time and wake-ups while it plays, with its media
# controls offered on a session bus (and a client following them, as a
# desktop does) and without a session bus. Runs inside a private sound server
# and session bus (tools/with-sound-server.sh); each run plays a 60-second
# MP3 by automatic play and is measured over its middle.
#
#   bench/mpris_cpu.sh [build-dir] [seconds per run] [rounds]
# Wake-ups are the context switches of all the program's threads.
set -euo pipefail

build=$(realpath "${1:-build}")
seconds=${2:-50}
rounds=${3:-3}
here=$(dirname "$0")
[ -x "$build/melvo" ] || { echo "build $build/melvo first" >&2; exit 1; }
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] || ! pactl info >/dev/null 2>&1; then
    exec bash "$here/../tools/with-sound-server.sh" bash "$0" "$build" "$seconds" "$rounds"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sox -q -r 44100 -c 2 -n -b 16 "$work/song60.wav" synth 60 pinknoise vol 0.3
lame --quiet -V 2 "$work/song60.wav" "$work/song60.mp3"
mkdir "$work/program"
cp "$build/melvo" "$work/program/melvo"  # its data files then lie beside this copy
printf '[MUSIC]\r\nAUTO=1\r\n' > "$work/program/mvMP3.ini"
printf '%s\r\n' "$work/song60.mp3" > "$work/program/mvMP3.csv"

# Nanoseconds on a CPU and context switches of all the process's threads so far.
sample() {
    local pid=$1
    cat /proc/"$pid"/task/*/schedstat | awk '{ ns += $1 } END { printf "%d ", ns }'
    cat /proc/"$pid"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n }'
}

# Plays for a while and prints "cpu-percent wake-ups-per-second".
measure() {
    QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=pulseaudio "$@" "$work/program/melvo" \
        >/dev/null 2>&1 &
    local pid=$! follower=
    if [ "$1" != env ] && command -v playerctl >/dev/null; then
        sleep 1
        playerctl -p melvo --follow status >/dev/null 2>&1 &
        follower=$!
    fi
    sleep 4  # start-up, and the first song under way (it lasts 60 seconds)
    read -r ns0 switches0 < <(sample "$pid")
    sleep "$seconds"
    read -r ns1 switches1 < <(sample "$pid")
    [ -n "$follower" ] && kill "$follower"
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v t=$((ns1 - ns0)) -v w=$((switches1 - switches0)) -v s="$seconds" \
        'BEGIN { printf "%.3f %.1f\n", 100 * t / 1e9 / s, w / s }'
}

printf '%-28s %10s %14s\n' "run ($seconds s each)" "CPU %" "wake-ups/s"
for round in $(seq "$rounds"); do
    read -r cpu wakeups < <(measure env -u DBUS_SESSION_BUS_ADDRESS)
    printf '%-28s %10s %14s\n' "without session bus #$round" "$cpu" "$wakeups"
    read -r cpu wakeups < <(measure command)
    printf '%-28s %10s %14s\n' "with media controls #$round" "$cpu" "$wakeups"
done
