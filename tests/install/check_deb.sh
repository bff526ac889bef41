#!/usr/bin/env bash
# Builds the Debian package with CPack and checks its contents and dependencies.
#   check_deb.sh BUILD_DIR VERSION
set -euo pipefail
build="$1"
version="$2"
id=io.github.quarvel.editor
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb="$out/quarvel_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "FAIL: no $deb" >&2; ls "$out" >&2; exit 1; }

failures=0
contents="$(dpkg-deb -c "$deb" | awk '{ print $6 }')"
for file in usr/bin/quarvel usr/bin/quarvel-export "usr/share/applications/$id.desktop" \
  "usr/share/mime/packages/$id.xml" "usr/share/metainfo/$id.metainfo.xml" \
  usr/share/man/man1/quarvel.1 usr/share/man/man1/quarvel-export.1 \
  "usr/share/icons/hicolor/scalable/apps/$id.svg" "usr/share/icons/hicolor/16x16/apps/$id.png" \
  "usr/share/icons/hicolor/256x256/apps/$id.png" usr/share/doc/quarvel/file-format.md; do
  grep -qxF "./$file" <<<"$contents" || { echo "FAIL: $file not in the package" >&2; failures=$((failures + 1)); }
done
if grep -v '^\./usr/' <<<"$contents" | grep -qv '^\./$'; then
  echo "FAIL: files outside /usr" >&2
  failures=$((failures + 1))
fi
depends="$(dpkg-deb -f "$deb" Depends)"
for package in libqt6widgets6 fonts-ipafont-gothic; do
  grep -q "\b$package\b" <<<"$depends" || { echo "FAIL: Depends lacks $package: $depends" >&2; failures=$((failures + 1)); }
done
[ "$failures" -eq 0 ] || exit 1
echo "package $(basename "$deb") checked"
