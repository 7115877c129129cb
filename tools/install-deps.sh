#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Melvo developers
# Installs the Debian packages Melvo needs to build, run and test (--test), or
# to build its own Debian package (--package).
# Does nothing when every package is already installed.
set -euo pipefail

# XCB lets the tests, built with the program, ask an X display whether a
# window manager runs on it.
packages=(
  g++ cmake ninja-build pkg-config googletest libgtest-dev
  qt6-base-dev qt6-qpa-plugins libsdl2-dev libmpg123-dev libpulse-dev libasound2-dev libtag1-dev
  libsqlite3-dev libxcb1-dev
  fonts-noto-cjk qt6-translations-l10n
)
if [ "${1:-}" = "--test" ]; then
  # Fixture generation (eyed3 writes a lyrics tag), a real sound server with a
  # null sink, a real X display (xdotool: the playback benchmark clicks the
  # pause button), the validators of the desktop entry and of the
  # software-centre description, the manual page's formatter and whatis
  # reader, a private session bus and a media-controls client.
  packages+=(lame sox eyed3 mpg123 pulseaudio pulseaudio-utils libasound2-plugins xvfb xauth xdotool
    appstream desktop-file-utils groff-base man-db dbus-daemon playerctl)
elif [ "${1:-}" = "--package" ]; then
  # Building the Debian package and checking it.
  packages+=(build-essential debhelper dpkg-dev lintian)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
