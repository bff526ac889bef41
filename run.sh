#!/usr/bin/env bash
# Installs what is missing, builds the editor and opens it: with the project given,
# or with the demo project.
set -euo pipefail
project=""
[ $# -gt 0 ] && project="$(realpath -m -- "$1")"
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target quarvel
# The demo names its tile sheet relative to the repository root.
[ -n "$project" ] || project="examples/demo.quarvel"
exec build/app/quarvel "$project"
