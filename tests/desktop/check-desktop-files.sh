#!/usr/bin/env bash
# Checks the files the desktop reads about Lirabox: the desktop entry, the
# AppStream metadata, the man page and the icon theme's pictures.
# Usage: check-desktop-files.sh DATA_FOLDER VERSION
set -uo pipefail

data=$1
version=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

desktop-file-validate "$data/lirabox.desktop" || fail "desktop entry"
appstreamcli validate --no-net --pedantic "$data/io.github.lirabox.metainfo.xml" || fail "AppStream metadata"
grep -q "<release version=\"$version\"" "$data/io.github.lirabox.metainfo.xml" ||
  fail "AppStream metadata: no release $version"

warnings=$(groff -man -ww -z "$data/lirabox.1" 2>&1)
[[ -z "$warnings" ]] || fail "man page: $warnings"
grep -q "^\.TH LIRABOX 1 .*\"Lirabox $version\"" "$data/lirabox.1" || fail "man page: not version $version"
# The man page describes today's program: ten key rows, the guides beside it.
grep -q '^Ten global shortcut keys' "$data/lirabox.1" || fail "man page: not ten keys"
grep -q 'ID09' "$data/lirabox.1" || fail "man page: no tenth key section"
grep -q -i '\.chm' "$data/lirabox.1" && fail "man page: names a .chm help file"
grep -q 'Lirabox_help_en\.html' "$data/lirabox.1" || fail "man page: no English guide"
# A Japanese desktop shows the menu entry in Japanese.
for key in 'Name\[ja\]' 'GenericName\[ja\]' 'Comment\[ja\]'; do
  grep -q "^$key=" "$data/lirabox.desktop" || fail "desktop entry: no $key"
done

# Width and height from the PNG header (big-endian, bytes 16..23).
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'; }
icons="$data/icons/hicolor"
[[ -s "$icons/scalable/apps/lirabox.svg" ]] || fail "no scalable icon"
for side in 16 22 24 32 48 64 128 256; do
  png="$icons/${side}x${side}/apps/lirabox.png"
  if [[ ! -f "$png" ]]; then
    fail "no $side pixel icon"
  elif [[ "$(png_size "$png")" != "${side}x${side}" ]]; then
    fail "$png is $(png_size "$png")"
  fi
done

(( failures == 0 )) && echo "desktop files: all good"
exit $(( failures > 0 ))
