#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Melvo developers
# Configures and builds Melvo into a build folder (default: build).
# Usage: tools/build.sh [build-folder] [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
folder="${1:-build}"
shift || true
cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$folder" -j "$(nproc)"
