#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Melvo developers
# Installs what is missing, builds Melvo with warnings as errors and runs every
# test: once in a normal build and once under AddressSanitizer and
# UndefinedBehaviorSanitizer, each inside a private sound server with a null sink
# and a private D-Bus session bus.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --test

run_suite() {
  local folder="$1"
  shift
  bash tools/build.sh "$folder" -DMELVO_WERROR=ON "$@"
  bash tools/with-sound-server.sh ctest --test-dir "$folder" --output-on-failure -j 2
}

export MELVO_REQUIRE_SOUND_SERVER=1
# The windows of the tests are drawn offscreen, whatever display the shell has.
export QT_QPA_PLATFORM=offscreen
unset DISPLAY WAYLAND_DISPLAY
run_suite build
if [ "${MELVO_SKIP_SANITIZERS:-0}" != 1 ]; then
  ASAN_OPTIONS=detect_leaks=0 run_suite build-sanitize -DMELVO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
fi
