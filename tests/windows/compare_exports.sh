#!/usr/bin/env bash
# compare_exports.sh WINDOWS_EXE LINUX_EXE: quarvel-export.exe under Wine against the
# Linux build, byte for byte: every case of tests/data/export in every format, the
# demo project's picture, standard output, a Japanese label and project name, and
# the failures' exit status and text. Run from anywhere; Wine must be set up.
set -euo pipefail
windows_exe="$1"
linux_exe="$2"
root="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
[ -n "${KEEP:-}" ] || trap 'rm -rf "$work"' EXIT
[ -z "${KEEP:-}" ] || echo "keeping $work"
cd "$root"
export LC_ALL=C.UTF-8
export WINEDEBUG=-all
# Wine itself: Debian's launchers add a line about 32-bit Wine to stderr.
wine="/usr/lib/wine/wine64"
[ -x "$wine" ] || wine="$(command -v wine)"
failures=0
checks=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# run_windows ERR ARGS...: quarvel-export.exe with its standard error in ERR; its
# status. quarvel-export names every failure on a line of its own ("quarvel-export:
# ..."). A failure without one is Wine's (now and then a program ends at its start
# with status 1, or its server connection drops: "wine client error"), and is run
# again, at most twice.
run_windows() {
  local err="$1" status=0
  shift
  for attempt in 1 2 3; do
    status=0
    "$wine" "$windows_exe" "$@" 2>"$err" || status=$?
    if [ "$status" = 0 ] || grep -q '^quarvel-export: ' "$err"; then break; fi
    echo "compare_exports: Wine failed to run the program ($(head -c 200 "$err")), run again" >&2
  done
  return "$status"
}

# same NAME ARGS...: both programs with the same arguments, each writing to its own
# -o file; their files, exit statuses and messages must agree.
same() {
  local name="$1"
  shift
  checks=$((checks + 1))
  local linux_status=0 windows_status=0
  "$linux_exe" "$@" -o "$work/$name.linux" 2>"$work/$name.linux.err" || linux_status=$?
  windows_status=0
  run_windows "$work/$name.windows.err" "$@" -o "$work/$name.windows" || windows_status=$?
  [ "$linux_status" = "$windows_status" ] ||
    fail "$name: exit status $linux_status on Linux, $windows_status on Windows: $(cat "$work/$name.windows.err")"
  if [ -f "$work/$name.linux" ] || [ -f "$work/$name.windows" ]; then
    cmp -s "$work/$name.linux" "$work/$name.windows" || fail "$name: the files differ"
  fi
  # The messages name the output by the path given, which differs: it is left out.
  sed "s#$work/$name\.linux#OUT#g" "$work/$name.linux.err" >"$work/$name.linux.msg"
  sed "s#$work/$name\.windows#OUT#g" "$work/$name.windows.err" >"$work/$name.windows.msg"
  cmp -s "$work/$name.linux.msg" "$work/$name.windows.msg" || fail "$name: the messages differ"
}

formats=(c gas dragonbasic bin ca65 nasm z80 rgbds csv)
for case_dir in tests/data/export/*/; do
  case_name="$(basename "$case_dir")"
  for format in "${formats[@]}"; do
    same "$case_name.$format" --format "$format" "$case_dir/project.quarvel"
  done
  same "$case_name.bin-be" --format bin --big-endian "$case_dir/project.quarvel"
done
for format in "${formats[@]}" png; do
  same "demo.$format" --format "$format" examples/demo.quarvel
  same "demo-region.$format" --format "$format" --region 3,2,17,9 examples/demo.quarvel
done

# A Japanese label (UTF-8 here, UTF-16 to the Windows program) and a project whose
# name is Japanese.
same "label.c" --label "地図の一" examples/demo.quarvel
cp examples/demo.quarvel "$work/地図.quarvel"
same "japanese-path.gas" --format gas "$work/地図.quarvel"

# Standard output keeps its CR LF: no text mode turns LF into CR LF again.
checks=$((checks + 1))
"$linux_exe" --format c examples/demo.quarvel >"$work/stdout.linux"
run_windows "$work/stdout.err" --format c -o - examples/demo.quarvel >"$work/stdout.windows"
cmp -s "$work/stdout.linux" "$work/stdout.windows" || fail "standard output differs"

# Failures: exit status 1 (2 for bad usage) and the same text.
same "missing" --format c "$work/none.quarvel"
same "bad-label" --label "$(printf 'caf\xc3\xa9 \xf0\x9f\x97\xba')" examples/demo.quarvel
checks=$((checks + 1))
linux_status=0
windows_status=0
"$linux_exe" -o "$work/no/such/folder.h" examples/demo.quarvel 2>"$work/no-folder.linux" || linux_status=$?
run_windows "$work/no-folder.windows" -o "$work/no/such/folder.h" examples/demo.quarvel || windows_status=$?
[ "$linux_status" = 1 ] && [ "$windows_status" = 1 ] || fail "no folder: exit status $linux_status and $windows_status"
cmp -s "$work/no-folder.linux" "$work/no-folder.windows" || fail "no folder: the messages differ"
same "usage" --format nothing examples/demo.quarvel

if [ "$failures" -ne 0 ]; then
  echo "compare_exports: $failures of $checks checks failed" >&2
  exit 1
fi
echo "compare_exports: quarvel-export.exe under Wine agrees with the Linux build in all $checks checks"
