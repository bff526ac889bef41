#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a desktop finds
# there, each file with the validator of its format: the programs, the desktop
# entry, the project file type, the AppStream metadata, the icons, the manual pages.
#   check_install.sh BUILD_DIR VERSION
set -euo pipefail
build="$1"
version="$2"
id=io.github.quarvel.editor
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
export LC_ALL=C.UTF-8

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# Runs a validator; anything it says counts against the file.
quiet() {
  local said
  if ! said="$("$@" 2>&1)" || [ -n "$said" ]; then fail "$* said: $said"; fi
}

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
usr="$root/usr"

# The programs run from where they were installed, without a display.
for program in quarvel quarvel-export; do
  answer="$(env -i "$usr/bin/$program" --version 2>&1)" || fail "$program --version failed"
  [ "$answer" = "$program (Quarvel Editor) $version" ] || fail "$program --version: $answer"
done

# The project file type: the package must parse, and the database built from it
# must map *.quarvel to the type.
mime="$usr/share/mime/packages/$id.xml"
quiet xmllint --noout "$mime"
type="$(xmllint --xpath 'string(//*[local-name()="mime-type"]/@type)' "$mime")"
[ "$type" = application/x-quarvel-project ] || fail "MIME type is '$type'"
mkdir -p "$root/db"
cp -r "$usr/share/mime" "$root/db/"
XDG_DATA_DIRS="$root/db" quiet update-mime-database "$root/db/mime"
grep -qx "[0-9]*:$type:\*\.quarvel" "$root/db/mime/globs2" || fail "no *.quarvel glob for $type"

# The desktop entry, and that it opens the type declared above.
desktop="$usr/share/applications/$id.desktop"
quiet desktop-file-validate "$desktop"
for line in 'Name=Quarvel Editor' 'Name[ja]=クオーベルエディター' 'Exec=quarvel %f' "Icon=$id" "MimeType=$type;"; do
  grep -qxF "$line" "$desktop" || fail "desktop entry lacks '$line'"
done

# AppStream: the file alone, then with the desktop entry and icons beside it.
metainfo="$usr/share/metainfo/$id.metainfo.xml"
for check in "validate $metainfo" "validate-tree $usr"; do
  # shellcheck disable=SC2086
  said="$(appstreamcli $check --pedantic --no-net 2>&1)" || fail "appstreamcli $check: $said"
  [ "$said" = "✔ Validation was successful." ] || fail "appstreamcli $check: $said"
done
grep -qF "<mediatype>$type</mediatype>" "$metainfo" || fail "metainfo does not provide $type"
grep -qF "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"

# Icons: a PNG of its own size in each folder, and the scalable drawing.
for size in 16 22 24 32 48 64 128 256; do
  png="$usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
  case "$(file -b "$png")" in
    "PNG image data, $size x $size,"*) ;;
    *) fail "$png: $(file -b "$png")" ;;
  esac
done
svg="$usr/share/icons/hicolor/scalable/apps/$id.svg"
quiet xmllint --noout "$svg"
[ "$(xmllint --xpath 'local-name(/*)' "$svg")" = svg ] || fail "$svg is no SVG drawing"

# Manual pages: formatted without a warning, with a NAME line that whatis can use.
for page in quarvel quarvel-export; do
  file="$usr/share/man/man1/$page.1"
  warnings="$(MANWIDTH=80 man --warnings -P cat -l "$file" 2>&1 >/dev/null)" || fail "man $page failed"
  [ -z "$warnings" ] || fail "man $page: $warnings"
  whatis="$(lexgrog "$file" 2>&1)" || fail "lexgrog $page: $whatis"
  case "$whatis" in
    *"\"$page - "*) ;;
    *) fail "lexgrog $page: $whatis" ;;
  esac
done

[ -f "$usr/share/doc/quarvel/file-format.md" ] || fail "file-format.md not installed"

if [ "$failures" -gt 0 ]; then exit 1; fi
echo "install tree checked"
