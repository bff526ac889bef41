#!/usr/bin/env bash
# Installs with apt-get whatever the build, the tests and the editor need and this
# machine does not have yet. Debian 12, as root, or as a user through sudo.
# With "windows": what the Windows build needs (scripts/build-windows.sh).
set -euo pipefail

packages=(
  cmake g++ make binutils pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libpng-dev
  # The export tests assemble every assembler format with the real tools.
  cc65 nasm pasmo z80asm
  fonts-ipafont-gothic qt6-translations-l10n
  desktop-file-utils appstream libxml2-utils shared-mime-info man-db dpkg-dev file
  # The desktop test: an X server, a window manager, and Xlib with XTest to look and click.
  xvfb openbox libx11-dev libxtst-dev
)
if [ "${1:-}" = windows ]; then
  # mingw-w64 with posix threads (std::thread), its zlib, Wine to run the tests, and
  # what unpacks a Debian source package.
  packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 dpkg-dev cmake make ninja-build
    libgtest-dev qt6-base-dev-tools qt6-translations-l10n xvfb openbox fonts-ipafont-gothic)
fi

missing=()
for pkg in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  # An ordinary user installs through sudo, so that nothing else has to run as root.
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "Missing packages: ${missing[*]}. Install them as root, or install sudo." >&2
      exit 1
    fi
    sudo=(sudo)
    echo "Installing with sudo, which may ask for your password: ${missing[*]}"
  else
    echo "Installing: ${missing[*]}"
  fi
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
