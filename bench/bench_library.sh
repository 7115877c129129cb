#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Melvo developers
# Runs the song list benchmark for each list size, each in a fresh process.
# Usage: bench/bench_library.sh [build folder]
set -e
build=${1:-build}
for songs in 0 10000 100000; do
    "$build/bench/bench_library" "$songs"
done
