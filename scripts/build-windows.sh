#!/usr/bin/env bash
# Cross-builds the core, quarvel-export.exe and the core tests for 64-bit Windows
# with mingw-w64 into build-windows/, and the editor quarvel.exe with its ui tests
# where a Qt for mingw-w64 is at hand ($QUARVEL_QT_MINGW, else ../shared/qt6-mingw;
# scripts/build-qt-mingw.sh builds one). Runs the tests under Wine, checks the
# exporter against the Linux build's (build/, when it is there), lays out the program
# folder (build-windows/program) and makes the ZIP of it.
# Debian 12, as root or through sudo; installs what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
out="$root/build-windows"
jobs="$(nproc)"

scripts/install-deps.sh windows

# libpng has no mingw-w64 package: it is built from Debian's own source package, the
# same libpng as the Linux build's, so that both write the same PNG bytes.
deps="$out/deps"
if [ ! -f "$deps/prefix/lib/libpng16.a" ]; then
  scripts/debian-source.sh libpng1.6 "$deps/src"
  src="$(find "$deps/src" -maxdepth 1 -type d -name 'libpng1.6-*' | head -n 1)"
  cmake -S "$src" -B "$deps/libpng-build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps/prefix" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include >/dev/null
  cmake --build "$deps/libpng-build" -j"$jobs" >/dev/null
  cmake --install "$deps/libpng-build" >/dev/null
fi

png_src="$(find "$deps/src" -maxdepth 1 -type d -name 'libpng1.6-*' | head -n 1)"
licences="libpng=$png_src/LICENSE;zlib=/usr/share/doc/libz-mingw-w64-dev/copyright"
licences+=";mingw-w64=/usr/share/doc/mingw-w64-common/copyright"
licences+=";gcc-runtime=/usr/share/doc/gcc-mingw-w64-base/copyright"
qt="${QUARVEL_QT_MINGW:-$root/../shared/qt6-mingw}"
editor=(-DQUARVEL_EDITOR=OFF)
find_root="$deps/prefix"
if [ -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ]; then
  qt="$(cd "$qt" && pwd)"
  # Qt's own tools (moc, rcc) are the machine's, of the same version.
  editor=(-DQUARVEL_EDITOR=ON -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
  find_root="$qt;$deps/prefix"
else
  echo "No Qt for mingw-w64 in $qt: building without the editor (scripts/build-qt-mingw.sh DIR builds one; set QUARVEL_QT_MINGW=DIR)"
fi
cmake -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON "${editor[@]}" \
  -DQUARVEL_BUNDLED_LICENCES="$licences" \
  -DCMAKE_PREFIX_PATH="$find_root" -DCMAKE_FIND_ROOT_PATH="$find_root" \
  -DPNG_PNG_INCLUDE_DIR="$deps/prefix/include" -DPNG_LIBRARY="$deps/prefix/lib/libpng16.a" \
  -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include
cmake --build "$out" -j"$jobs"

# A Wine prefix of the build's own, so nothing of the user's is touched. One server
# and Wine's own services for every program that follows, started here with no
# output of ours: started by a test, they would hold its output open after it ends.
export WINEPREFIX="$out/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine)"
wineserver -p >/dev/null 2>&1 </dev/null || true
"$wine" cmd /c exit >/dev/null 2>&1 </dev/null || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
ctest --test-dir "$out" --output-on-failure --timeout 300

linux_export="$root/build/tools/quarvel-export"
if [ -x "$linux_export" ]; then
  tests/windows/compare_exports.sh "$out/tools/quarvel-export.exe" "$linux_export"
else
  echo "build/ has no quarvel-export: the comparison with the Linux build is left out (./test.sh runs it)"
fi

rm -rf "$out/program"
cmake --install "$out" --prefix "$out/program" >/dev/null
rm -f "$out"/quarvel-*.zip
(cd "$out" && cpack -G ZIP >/dev/null)
zip_file="$(ls -1 "$out"/quarvel-*.zip)"
echo "$zip_file"

# The editor from the ZIP, unpacked elsewhere, on Xvfb and openbox through Wine,
# against the Linux editor of build/.
wine_desktop="$root/build/tests/desktop_wine_tests"
if [ -f "$out/program/quarvel.exe" ] && [ -x "$wine_desktop" ]; then
  log="$out/desktop_wine_tests.log"
  # Wine's session so far has no display: the test starts one on its own X server.
  wineserver -k >/dev/null 2>&1 || true
  if ! QUARVEL_WINDOWS_ZIP="$zip_file" "$wine_desktop" >"$log" 2>&1; then
    grep -v '^wine:' "$log" | tail -n 120 >&2
    exit 1
  fi
  grep -E '^\[  PASSED' "$log" | sed 's/^/desktop_wine_tests: /'
elif [ -f "$out/program/quarvel.exe" ]; then
  echo "build/ has no desktop_wine_tests: the desktop test of quarvel.exe is left out (./test.sh runs it)"
fi
