#!/usr/bin/env bash
# debian-source.sh PACKAGE DIR: unpacks the source of one of Debian's packages into
# DIR with apt-get source, from the machine's own apt sources. Where their source
# lines are off, a copy of them with "deb-src" is added beside them; nothing else
# is downloaded.
set -euo pipefail
package="$1"
dir="$2"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)

has_source_lines() {
  grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null
}
if ! has_source_lines; then
  for list in /etc/apt/sources.list.d/*.sources; do
    [ -f "$list" ] || continue
    case "$list" in *quarvel-deb-src*) continue ;; esac
    sed -n '/^Types: deb$/,/^$/p' "$list" | sed 's/^Types: deb$/Types: deb-src/'
    echo
  done | "${sudo[@]}" tee /etc/apt/sources.list.d/quarvel-deb-src.sources >/dev/null
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list | "${sudo[@]}" tee -a /etc/apt/sources.list.d/quarvel-deb-src.list >/dev/null
  fi
  "${sudo[@]}" apt-get update -qq
fi
mkdir -p "$dir"
cd "$dir"
if ! apt-get source -qq "$package" >"$dir/apt-source.log" 2>&1; then
  cat "$dir/apt-source.log" >&2
  exit 1
fi
