#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Melvo developers
# Builds the Debian package melvo_VERSION_ARCH.deb the Debian way,
# `dpkg-buildpackage -us -uc -b`, in a copy of the source tree (the working
# tree and its build folders stay as they are), then checks it with lintian
# and lists what it holds.
# Usage: tools/build-deb.sh [output folder]   (default: build-deb)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build-deb}")
bash tools/install-deps.sh --package

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/melvo"
# The files git knows and those it would take (committed or not), without the
# build folders; outside a git clone, the tree without its build folders.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do if [ -e "$file" ]; then printf '%s\0' "$file"; fi; done |
    tar --null -T - -cf - | tar -xf - -C "$work/melvo"
else
  tar --exclude='./build*' --exclude='./obj-*' -cf - . | tar -xf - -C "$work/melvo"
fi

(cd "$work/melvo" && dpkg-buildpackage -us -uc -b -J"$(nproc)")

mkdir -p "$out"
rm -f "$out"/melvo_*.deb "$out"/melvo-dbgsym_*.deb "$out"/melvo_*.changes "$out"/melvo_*.buildinfo
mv "$work"/*.deb "$work"/*.changes "$work"/*.buildinfo "$out"/
deb=$(ls "$out"/melvo_*.deb)
echo "== dpkg -c $(basename "$deb")"
dpkg -c "$deb"
echo "== lintian $(basename "$deb")"
lintian --info --display-info "$deb" | tee "$out/lintian.txt"
echo "Built $deb"
