#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

# The tests and the benchmarks, which a packager's build leaves out.
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DQUARVEL_BENCH=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 300

# The core again with AddressSanitizer and UndefinedBehaviorSanitizer.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARVEL_CORE_ONLY=ON -DQUARVEL_SANITIZE=ON
cmake --build build-asan -j"$jobs" --target core_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 300

# The Windows build: core, quarvel-export.exe and the core tests under Wine, the
# exporter compared with the Linux one just built, and the ZIP.
scripts/build-windows.sh
