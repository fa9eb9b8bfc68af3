#!/usr/bin/env bash
# Cross-builds the Windows tree with mingw-w64 and collects
#   lirabox-windows/   lirabox.exe, Keytap.dll, Timepost.dll, the test programs
#                      and the installer (its test installs it under Wine)
# and, in build-windows/, what is handed to users:
#   lirabox-<version>-windows-x64.zip        the program, the DLLs, help, licence
#   lirabox-<version>-windows-x64-setup.exe  the per-user installer (NSIS)
# 64-bit only; the runtime is linked statically, so nothing else goes beside them.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps-windows.sh

cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
cmake --build build-windows -j "$(nproc)"

rm -rf lirabox-windows
mkdir -p lirabox-windows
cp build-windows/bin/*.dll build-windows/bin/*.exe lirabox-windows/
echo "lirabox-windows/: $(cd lirabox-windows && echo *)"

# What goes to users: the program, its two libraries, the user guides and the licence.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/CMakeCache.txt)
package=build-windows/lirabox-$version-windows-x64
rm -rf "$package" "$package.zip" "$package-setup.exe"
mkdir -p "$package"
cp build-windows/bin/lirabox.exe build-windows/bin/Keytap.dll build-windows/bin/Timepost.dll \
  player/help/Lirabox_help.html player/help/Lirabox_help_en.html COPYING "$package/"
x86_64-w64-mingw32-strip "$package"/*.exe "$package"/*.dll   # the debugging symbols stay in build-windows/bin
(cd "$package" && zip -q -X "../$(basename "$package").zip" ./*)
icons=data/icons/hicolor
bash scripts/make-ico.sh build-windows/lirabox.ico \
  $icons/16x16/apps/lirabox.png $icons/32x32/apps/lirabox.png $icons/48x48/apps/lirabox.png \
  $icons/256x256/apps/lirabox.png
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DFILES="$PWD/$package" -DICON="$PWD/build-windows/lirabox.ico" \
  -DOUTFILE="$PWD/$package-setup.exe" app/win32/installer/lirabox.nsi
cp "$package-setup.exe" lirabox-windows/lirabox-setup.exe
echo "build-windows/: $(basename "$package").zip, $(basename "$package")-setup.exe"
