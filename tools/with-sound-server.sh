#!/usr/bin/env bash
# Runs a command with a private PulseAudio server that plays into a null sink,
# then stops the server. ALSA's "default" device (and so the mixer element
# "Master") reaches that server while the command runs; the user's own sound
# server, if any, is not touched.
#   tools/with-sound-server.sh ctest --test-dir build
# Without the pulseaudio program the command runs without a server.
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 command [argument...]" >&2
  exit 2
fi
if ! command -v pulseaudio >/dev/null 2>&1 || ! command -v pactl >/dev/null 2>&1; then
  echo "with-sound-server: pulseaudio or pactl not installed; running without a sound server" >&2
  exec "$@"
fi

runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
unset PULSE_SERVER PULSE_SINK
# The server keeps its cookie and state here rather than in the user's home.
export PULSE_CONFIG_PATH="$runtime/config" PULSE_STATE_PATH="$runtime/state"

stop_server() {
  local pid
  pid=$(cat "$runtime/pulse/pid" 2>/dev/null || true)
  if [ -n "$pid" ] && kill "$pid" 2>/dev/null; then
    for _ in $(seq 100); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
  fi
  rm -rf "$runtime"
}
trap stop_server EXIT

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
