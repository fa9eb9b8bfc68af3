#!/usr/bin/env bash
# Builds the Windows tree and runs every Windows test program under
# Wine (tests/with-wine.sh); non-zero when the build, a check of Keytap.dll or
# any test program fails.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build-windows.sh

# Keytap.dll: the table in a section every process shares, the five exports
# under their plain names.
objdump=x86_64-w64-mingw32-objdump
if ! "$objdump" -h lirabox-windows/Keytap.dll | grep -A1 ' \.shared ' | grep -q 'SHARED'; then
  echo "Keytap.dll: no shared section .shared" >&2
  exit 1
fi
exports=$("$objdump" -p lirabox-windows/Keytap.dll | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p')
for name in InitHook TerminateHook RegistKey UnRegistKey GetMessageID_KeyBoard; do
  grep -qw "$name" <<<"$exports" || { echo "Keytap.dll: no export $name" >&2; exit 1; }
done

tests/with-wine.sh lirabox-windows/*_test.exe
