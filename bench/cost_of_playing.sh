#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Melvo developers
# What playing costs, side by side on one private PulseAudio null sink: the
# whole program (window shown on a virtual X display, automatic play) against
# `mpg123 -q -o pulse` on the same file.
# For each: CPU per minute of music of the player, the sound server and the X
# server (the time its threads ran, from /proc), wake-ups per second (voluntary and
# involuntary context switches of every thread), and the stream's buffer
# latency; then the program paused, the cost to mpg123 playing beside it, a
# bare window that only ticks (and draws a read-out) ten times a second, and
# how soon the position moves after a seek and a resume. About seven minutes.
#
#   bench/cost_of_playing.sh build-dir [song.mp3]
#
# The song must last three minutes or more; without one, three minutes of
# pink noise are made into a VBR MP3.
#
# Needs Xvfb, xdotool, pulseaudio, pactl, mpg123, sox and lame
# (tools/install-deps.sh --test).
set -euo pipefail

build=$(realpath "${1:?usage: $0 build-dir [song.mp3]}")
[ -x "$build/melvo" ] && [ -x "$build/bench/bench_playback" ] && [ -x "$build/bench/bench_redraw_floor" ] ||
    { echo "build melvo, bench_playback and bench_redraw_floor in $build first" >&2; exit 1; }
# A minute each: shorter windows let the machine's own noise swing the
# figures by a tenth or more.
measure_s=60

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

song=${2:-}
if [ -z "$song" ]; then
    song="$work/song.mp3"
    sox -q -r 44100 -c 2 -n -b 16 "$work/song.wav" synth 180 pinknoise vol 0.3
    lame --quiet -V 2 "$work/song.wav" "$song"
    rm "$work/song.wav"
fi
song=$(realpath "$song")

# A private sound server with a null sink, as the tests use.
export XDG_RUNTIME_DIR="$work/run" PULSE_CONFIG_PATH="$work/run/config" PULSE_STATE_PATH="$work/run/state"
unset PULSE_SERVER PULSE_SINK SDL_AUDIODRIVER
mkdir -m 700 "$XDG_RUNTIME_DIR"
pulseaudio --daemonize=yes --exit-idle-time=-1 --disallow-exit -n --use-pid-file=yes \
    --load="module-null-sink sink_name=nullsink rate=44100 channels=2" \
    --load="module-native-protocol-unix" --log-target=file:"$XDG_RUNTIME_DIR/pulse.log"
until pactl info >/dev/null 2>&1; do sleep 0.05; done
server=$(cat "$XDG_RUNTIME_DIR/pulse/pid")
pids+=("$server")

# A virtual X display; -displayfd picks a free display number.
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -nolisten tcp -screen 0 1024x768x24 2>/dev/null &
xserver=$!
pids+=("$xserver")
read -r -t 10 -u "$displayfd" number
export DISPLAY=":$number"

# Every thread of a process, one "thread CPU-nanoseconds context-switches"
# line each: the time the thread ran (schedstat, to the nanosecond, where the
# ticks of /proc/PID/stat would round a light player to a few hundredths of a
# second) and how often it went to sleep or was put aside.
threads() {
    local task
    for task in /proc/"$1"/task/*; do
        { read -r ns _ <"$task/schedstat" &&
            awk -v t="${task##*/}" -v ns="$ns" \
                '/^(non)?voluntary_ctxt_switches/ { n += $2 } END { print t, ns, n + 0 }' "$task/status"; } \
            2>/dev/null || true
    done
}
# CPU nanoseconds and context switches since the earlier list, as "ns count":
# threads that ended meanwhile drop out, new ones count whole.
threads_since() {
    threads "$2" | awk -v before="$1" '
        BEGIN { n = split(before, lines, "\n"); for (i = 1; i <= n; i++) { split(lines[i], f, " "); ns[f[1]] = f[2]; sw[f[1]] = f[3] } }
        { cpu += $2 - ns[$1]; count += $3 - sw[$1] } END { printf "%d %d\n", cpu, count }'
}
# The buffer latency of every stream on the server, in ms.
buffers() {
    pactl list sink-inputs | awk '/Buffer Latency/ { printf "%s%.0f ms", sep, $3 / 1000; sep = ", " }'
}

# Prints a line for each named process: CPU seconds per minute and wake-ups
# per second over the next measure_s seconds.
#   measure label name=pid...
measure() {
    local label=$1
    shift
    local -A before
    local item
    for item in "$@"; do
        before[$item]=$(threads "${item#*=}")
    done
    sleep "$measure_s"
    echo "$label (streams' buffers: $(buffers)):"
    local total_cpu=0 total_sw=0 cpu sw
    for item in "$@"; do
        read -r cpu sw < <(threads_since "${before[$item]}" "${item#*=}")
        total_cpu=$((total_cpu + cpu))
        total_sw=$((total_sw + sw))
        print_cost "${item%%=*}" "$cpu" "$sw"
        last_cpu[${item%%=*}]=$cpu
        last_sw[${item%%=*}]=$sw
    done
    print_cost all "$total_cpu" "$total_sw"
}

# One line of figures: name, CPU nanoseconds and context switches over the
# measuring time.
print_cost() {
    awk -v n="$1" -v c="$2" -v s="$3" -v d="$measure_s" \
        'BEGIN { printf "  %-14s %6.3f s CPU per minute, %6.1f wake-ups/s\n", n, c / 1e9 * 60 / d, s / d }'
}

declare -A last_cpu last_sw  # the latest figures of each name, for comparing

# mpg123 on its own; the sink settles for a few seconds first.
mpg123 -q -o pulse "$song" &
mpg=$!
pids+=("$mpg")
sleep 3
measure "mpg123 -q -o pulse, playing" mpg123="$mpg" server="$server" X="$xserver"
alone_cpu=${last_cpu[mpg123]} alone_sw=${last_sw[mpg123]}
kill "$mpg"
wait "$mpg" 2>/dev/null || true

sleep 1

# The program: its data files lie beside this copy, and automatic play
# starts the one song at start-up.
mkdir "$work/program"
cp "$build/melvo" "$work/program/melvo"
printf '[MUSIC]\r\nAUTO=1\r\n' >"$work/program/mvMP3.ini"
printf '%s\r\n' "$song" >"$work/program/mvMP3.csv"
"$work/program/melvo" 2>/dev/null &
melvo=$!
pids+=("$melvo")
sleep 4
measure "melvo, playing" melvo="$melvo" server="$server" X="$xserver"

# Pause with a click on the pause button: the window's client area starts
# below the menu bar and is 395 pixels high; the button's middle lies at
# (145, 105) in it.
window=$(xdotool search --onlyvisible --pid "$melvo" 2>/dev/null | while read -r id; do
    xdotool getwindowgeometry "$id" | awk -v id="$id" '/Geometry/ { split($2, s, "x"); if (s[2] >= 395) print id }'
done | head -n 1)
height=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ { split($2, s, "x"); print s[2] }')
xdotool mousemove --window "$window" 145 $((height - 395 + 105)) click 1
sleep 2
streams=$(pactl list short sink-inputs | wc -l)
measure "melvo, paused ($streams streams open)" melvo="$melvo" server="$server" X="$xserver"
# Resume with the resume button beside it.
xdotool mousemove --window "$window" 243 $((height - 395 + 105)) click 1
sleep 2

# A second player on the same sink while the program plays.
mpg123 -q -o pulse "$song" &
mpg=$!
pids+=("$mpg")
sleep 3
measure "mpg123 beside melvo playing" mpg123="$mpg" melvo="$melvo" server="$server" X="$xserver"
awk -v c="${last_cpu[mpg123]}" -v s="${last_sw[mpg123]}" -v c0="$alone_cpu" -v s0="$alone_sw" \
    'BEGIN { printf "mpg123 beside melvo against alone: CPU x %.2f, wake-ups x %.2f\n", c / (c0 ? c0 : 1), s / (s0 ? s0 : 1) }'
kill "$mpg" "$melvo"
wait "$mpg" "$melvo" 2>/dev/null || true

# What any Qt window costs that shows tenths of a second: the floor under the
# program's own window, with no sound at all.
for mode in --no-draw --draw; do
    "$build/bench/bench_redraw_floor" "$mode" 2>/dev/null &
    floor=$!
    pids+=("$floor")
    sleep 3
    measure "a bare window ticking ten times a second ($mode)" window="$floor" X="$xserver"
    kill "$floor"
    wait "$floor" 2>/dev/null || true
done

echo "the engine alone:"
"$build/bench/bench_playback" --lag "$song"
