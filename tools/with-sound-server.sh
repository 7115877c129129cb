#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Melvo developers
# Runs a command with a private PulseAudio server that plays into a null sink
# and a private D-Bus session bus, then stops both. ALSA's "default" device
# (and so the mixer element "Master") reaches that server while the command
# runs, and DBUS_SESSION_BUS_ADDRESS names that bus; the user's own sound
# server and session bus, if any, are not touched.
#   tools/with-sound-server.sh ctest --test-dir build
# Without the pulseaudio program the command runs without a sound server,
# without dbus-daemon without a bus.
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 command [argument...]" >&2
  exit 2
fi

runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"

stop_process() {
  local pid="$1"
  if [ -n "$pid" ] && kill "$pid" 2>/dev/null; then
    for _ in $(seq 100); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
  fi
}
stop_servers() {
  stop_process "$(cat "$runtime/pulse/pid" 2>/dev/null || true)"
  stop_process "$(cat "$runtime/bus.pid" 2>/dev/null || true)"
  rm -rf "$runtime"
}
trap stop_servers EXIT

if command -v dbus-daemon >/dev/null 2>&1; then
  DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --address="unix:path=$runtime/bus" \
    --print-address=1 --print-pid=3 3>"$runtime/bus.pid")
  export DBUS_SESSION_BUS_ADDRESS
else
  echo "with-sound-server: dbus-daemon not installed; running without a session bus" >&2
  unset DBUS_SESSION_BUS_ADDRESS
fi

if ! command -v pulseaudio >/dev/null 2>&1 || ! command -v pactl >/dev/null 2>&1; then
  echo "with-sound-server: pulseaudio or pactl not installed; running without a sound server" >&2
  status=0
  "$@" || status=$?
  exit "$status"
fi

unset PULSE_SERVER PULSE_SINK
# The server keeps its cookie and state here rather than in the user's home.
export PULSE_CONFIG_PATH="$runtime/config" PULSE_STATE_PATH="$runtime/state"

pulseaudio --daemonize=yes --exit-idle-time=-1 --disallow-exit -n --use-pid-file=yes \
  --load="module-null-sink sink_name=nullsink rate=44100 channels=2" \
  --load="module-native-protocol-unix" --log-target=file:"$runtime/pulse.log"

for _ in $(seq 200); do
  pactl info >/dev/null 2>&1 && break
  sleep 0.05
done
if ! pactl info >/dev/null 2>&1; then
  echo "with-sound-server: the sound server did not start; its log:" >&2
  cat "$runtime/pulse.log" >&2 || true
  exit 1
fi

status=0
"$@" || status=$?
exit "$status"
