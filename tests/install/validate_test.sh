#!/usr/bin/env bash
# The installed desktop entry and AppStream metainfo pass Debian's validators, and
# what they name (command, icon, desktop id) is installed.
#   validate_test.sh <build dir>
set -euo pipefail
build=$1
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/setup.sh installs it)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr

desktop=$(find "$usr/share/applications" -name '*.desktop')
metainfo=$(find "$usr/share/metainfo" -name '*.metainfo.xml')
[ "$(wc -w <<<"$desktop")" = 1 ] && [ "$(wc -w <<<"$metainfo")" = 1 ] ||
  { echo "FAILED: expected one desktop entry and one metainfo file: $desktop $metainfo" >&2; exit 1; }

desktop-file-validate "$desktop"
# Warnings fail too; only pedantic hints are let through.
appstreamcli validate --no-net --strict "$metainfo"
# The tree check also matches the metainfo with its desktop entry.
appstreamcli validate-tree --no-net --strict "$usr"

field() { sed -n "s/^$1=//p" "$desktop"; }
id=$(basename "$desktop" .desktop)
fail() { echo "FAILED: $*" >&2; exit 1; }
grep -q "<id>$id</id>" "$metainfo" || fail "metainfo id is not the desktop id $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "metainfo launches another entry"
[ -x "$usr/games/$(field Exec)" ] || fail "Exec=$(field Exec) is not installed in /usr/games"
[ "$(field TryExec)" = "$(field Exec)" ] || fail "TryExec differs from Exec"
icon=$(field Icon)
for size in 16 22 24 32 48 64 128 256; do
  [ -f "$usr/share/icons/hicolor/${size}x${size}/apps/$icon.png" ] || fail "no ${size}x${size} icon $icon"
done
[ -f "$usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon"
[ "$(field StartupWMClass)" = "$(basename "$(find "$usr/lib/games" -type f -name trok)")" ] ||
  fail "StartupWMClass is not the program's name"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "metainfo does not name the MIT licence"
# The manual page renders without warnings.
if command -v man >/dev/null; then
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man6/trok-mirel.6.gz" 2>&1 >/dev/null || true)
  [ -z "$warnings" ] || fail "manual page: $warnings"
fi
echo "1 passed, 0 failed"
