#!/usr/bin/env bash
# Installs what is missing, builds the editor and opens it: with the project given,
# or with the demo project. As an ordinary user, missing packages are installed
# through sudo, so the editor need not run as root.
set -euo pipefail
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: the editor needs a graphical session (DISPLAY or WAYLAND_DISPLAY); ./test.sh runs every test without one" >&2
  exit 1
fi
project=""
[ $# -gt 0 ] && project="$(realpath -m -- "$1")"
cd "$(dirname "$0")"
scripts/install-deps.sh
if [ -e build ] && [ ! -w build ]; then
  echo "build/ belongs to another user (an earlier run as root?): remove it, or run as that user." >&2
  exit 1
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target quarvel
# The demo names its tile sheet relative to the repository root.
[ -n "$project" ] || project="examples/demo.quarvel"
exec build/app/quarvel "$project"
