#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Melvo developers
# Installs the built program into a temporary folder, as the Debian package's
# build does (DESTDIR), and checks what lands there: every file in place and
# named by the one id, the desktop entry and the software-centre description
# passed by the desktop's validators as they are, the release the build's, and
# each manual page formatted as `man` formats it without a warning.
# Usage: installed_tree.sh BUILD-FOLDER BINDIR DATADIR MANDIR ID VERSION
set -uo pipefail
build=$1 id=$5 version=$6
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
bin=$root$2 share=$root$3 man=$root$4

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# Fails unless the file holds a line that is exactly the given text.
has_line() { grep -qxF -- "$2" "$1" || fail "$(basename "$1") lacks the line: $2"; }

DESTDIR=$root cmake --install "$build" >/dev/null || {
  echo "FAIL: cmake --install $build" >&2
  exit 1
}

[ -x "$bin/melvo" ] || fail "no program melvo"
[ -f "$share/melvo/melvo-help.html" ] || fail "no help document"
for size in 16 32 48 64 128; do
  [ -f "$share/icons/hicolor/${size}x$size/apps/$id.png" ] || fail "no ${size}x$size icon $id.png"
done

desktop=$share/applications/$id.desktop
if [ -f "$desktop" ]; then
  # Hints count too: the entry is to pass with nothing to say about it.
  out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ] || fail "desktop entry: $out"
  has_line "$desktop" "Icon=$id"
  has_line "$desktop" "Exec=melvo %F"
else
  fail "no desktop entry $id.desktop"
fi

metainfo=$share/metainfo/$id.metainfo.xml
if [ -f "$metainfo" ]; then
  out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "metainfo: $out"
  has_line "$metainfo" "  <id>$id</id>"
  has_line "$metainfo" "  <launchable type=\"desktop-id\">$id.desktop</launchable>"
  grep -qF "<release version=\"$version\" date=\"" "$metainfo" || fail "metainfo: no release $version"
else
  fail "no metainfo $id.metainfo.xml"
fi

for page in "$man/man1/melvo.1" "$man/ja/man1/melvo.1"; do
  if [ -f "$page" ]; then
    # man reads the page as UTF-8 (preconv, -k) and formats it for a terminal.
    out=$(LC_ALL=C.UTF-8 groff -k -ww -man -Tutf8 -z "$page" 2>&1)
    [ -z "$out" ] || fail "${page#"$root"}: $out"
    lexgrog "$page" >/dev/null || fail "${page#"$root"}: no NAME line that whatis can read"
  else
    fail "no manual page ${page#"$root"}"
  fi
done

[ "$failures" -eq 0 ] && echo "The installed tree holds what the package needs."
exit $((failures > 0))
