#!/usr/bin/env bash
# build-qt-mingw.sh DIR: builds the Qt that the Windows editor is built against into
# DIR: Debian 12's own qtbase source (qt6-base 6.4.2+dfsg, the Linux build's Qt),
# unchanged, cross-built as shared libraries with Debian's mingw-w64 (posix threads).
# The source comes with apt-get source from the machine's apt sources (their source
# lines are turned on where they are off); nothing else is downloaded. About 18
# minutes on two cores. Then: QUARVEL_QT_MINGW=DIR scripts/build-windows.sh
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: scripts/build-qt-mingw.sh DIR" >&2
  exit 2
fi
cd "$(dirname "$0")/.."
root="$PWD"
mkdir -p "$1"
prefix="$(cd "$1" && pwd)"
work="$prefix.build"
jobs="$(nproc)"

scripts/install-deps.sh windows

rm -rf "$work"
mkdir -p "$work"
scripts/debian-source.sh qt6-base "$work/src"
source_dir="$(find "$work/src" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)"
[ -n "$source_dir" ] || { echo "apt-get source unpacked no qt6-base" >&2; exit 1; }

# The toolchain file goes beside the installed Qt, which names it in its own
# qt.toolchain.cmake: the folder may be moved.
toolchain="$work/mingw-w64-x86_64.cmake"
cat >"$toolchain" <<'TOOLCHAIN'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN

# OpenGL stays on: 6.4.2's Windows platform plugin does not compile without it.
# Tablet events are off: Debian's source leaves out the wintab headers.
flags="-ffile-prefix-map=$source_dir=qtbase-6.4.2 -ffile-prefix-map=$work/build=build"
cmake -S "$source_dir" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF \
  -DFEATURE_opengl=ON -DFEATURE_accessibility=ON -DFEATURE_testlib=ON \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
  -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
  "-DCMAKE_C_FLAGS=$flags" "-DCMAKE_CXX_FLAGS=$flags"
cmake --build "$work/build" -j"$jobs"
cmake --install "$work/build"
cp "$toolchain" "$prefix/lib/cmake/Qt6/mingw-w64-x86_64.cmake"
mkdir -p "$prefix/LICENSES"
cp "$source_dir"/LICENSES/* "$prefix/LICENSES/"
rm -rf "$work"
echo "Qt for mingw-w64 in $prefix; build the editor with: QUARVEL_QT_MINGW=$prefix scripts/build-windows.sh"
