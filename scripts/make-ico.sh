#!/usr/bin/env bash
# Writes a Windows .ico file whose images are the given square PNG pictures as
# they are (Windows Vista and later take PNG images in icons).
#   bash scripts/make-ico.sh OUT.ico PICTURE.png...
set -euo pipefail
out=${1:?usage: make-ico.sh OUT.ico PICTURE.png...}
shift

# A little-endian number of `bytes` bytes, as printf escapes.
le() {
  local value=$1 bytes=$2 text=""
  for (( i = 0; i < bytes; i++ )); do
    text+=$(printf '\\x%02x' $(( (value >> (8 * i)) & 0xff )))
  done
  printf '%s' "$text"
}

count=$#
offset=$(( 6 + 16 * count ))
{
  printf "$(le 0 2)$(le 1 2)$(le "$count" 2)"
  for png in "$@"; do
    # The width lies in the PNG's header chunk, bytes 16-19, big-endian.
    side=$(( 0x$(od -An -tx1 -j16 -N4 "$png" | tr -d ' \n') ))
    size=$(stat -c %s "$png")
    printf "$(le $(( side % 256 )) 1)$(le $(( side % 256 )) 1)$(le 0 2)$(le 1 2)$(le 32 2)$(le "$size" 4)$(le "$offset" 4)"
    offset=$(( offset + size ))
  done
  cat "$@"
} >"$out"
