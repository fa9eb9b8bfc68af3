#!/usr/bin/env bash
# The catalogue is complete: every text marked in the code is in each .ts file
# (lupdate over the sources changes nothing), and every message there has a
# finished, non-empty translation, so no text falls back to Japanese unseen.
#   check-catalogue.sh SOURCE_DIR LUPDATE
set -euo pipefail
source_dir=${1:?usage: check-catalogue.sh SOURCE_DIR LUPDATE}
lupdate=${2:?usage: check-catalogue.sh SOURCE_DIR LUPDATE}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
cd "$source_dir"
for ts in data/translations/lirabox_*.ts; do
  cp "$ts" "$work/check.ts"
  "$lupdate" -silent -locations none -no-obsolete -extensions cpp,h \
    -tr-function-alias QT_TRANSLATE_NOOP+=LIRABOX_TEXT app player settings oneline support hotkeys -ts "$work/check.ts"
  if ! diff -u "$ts" "$work/check.ts"; then
    echo "$ts: not up to date with the code; run: cmake --build BUILD --target lirabox_update_translations" >&2
    status=1
  fi
  if grep -n -E '<translation type=|<translation>\s*</translation>|<translation/>' "$ts"; then
    echo "$ts: the messages above have no finished translation" >&2
    status=1
  fi
done
exit $status
