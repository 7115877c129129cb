#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Melvo developers
# Installs what is missing, builds Melvo and starts the jukebox.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'TXT'
Melvo is built (build/melvo) but there is no display to show its window.
Start it from a desktop session, or over SSH with X forwarding (ssh -X), or
on a virtual display:  xvfb-run -a build/melvo
TXT
  exit 1
fi
exec build/melvo
