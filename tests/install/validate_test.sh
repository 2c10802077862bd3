#!/usr/bin/env bash
# The installed desktop entries (the game's and the level editor's) and the AppStream
# metainfo pass Debian's validators, and what they name (commands, programs, icon,
# desktop ids, the manual page) is installed.
#   validate_test.sh <build dir>
set -euo pipefail
build=$1
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/setup.sh --test installs it)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr

desktops=$(find "$usr/share/applications" -name '*.desktop' | sort)
metainfo=$(find "$usr/share/metainfo" -name '*.metainfo.xml')
# The game's entry and the level editor's, one metainfo file naming both.
[ "$(wc -w <<<"$desktops")" = 2 ] && [ "$(wc -w <<<"$metainfo")" = 1 ] ||
  { echo "FAILED: expected two desktop entries and one metainfo file: $desktops $metainfo" >&2; exit 1; }

# Warnings fail too; only pedantic hints are let through.
appstreamcli validate --no-net --strict "$metainfo"
# The tree check also matches the metainfo with its desktop entries.
appstreamcli validate-tree --no-net --strict "$usr"

fail() { echo "FAILED: $*" >&2; exit 1; }
for desktop in $desktops; do
  desktop-file-validate "$desktop"
  field() { sed -n "s/^$1=//p" "$desktop"; }
  id=$(basename "$desktop" .desktop)
  command=$(field Exec | cut -d' ' -f1)
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch $id"
  [ -x "$usr/games/$command" ] || fail "Exec=$command is not installed in /usr/games"
  [ "$(field TryExec)" = "$command" ] || fail "TryExec differs from Exec in $id"
  grep -q "<binary>$command</binary>" "$metainfo" || fail "metainfo does not provide $command"
  icon=$(field Icon)
  for size in 16 22 24 32 48 64 128 256; do
    [ -f "$usr/share/icons/hicolor/${size}x${size}/apps/$icon.png" ] || fail "no ${size}x${size} icon $icon"
  done
  [ -f "$usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon"
  # The window's class is the program's name, and the launcher starts that program.
  program=$(field StartupWMClass)
  [ -x "$usr/lib/games/trok-mirel/$program" ] || fail "StartupWMClass $program is not an installed program"
  grep -q "^program=$program\$" "$usr/games/$command" || fail "$command does not start $program"
done
game_desktop=$(grep -l '^Exec=trok-mirel$' $desktops) || fail "no desktop entry starts the game"
grep -q "<id>$(basename "$game_desktop" .desktop)</id>" "$metainfo" || fail "metainfo id is not the game's desktop id"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "metainfo does not name the MIT licence"
# The manual page renders without warnings.
if command -v man >/dev/null; then
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man6/trok-mirel.6.gz" 2>&1 >/dev/null || true)
  [ -z "$warnings" ] || fail "manual page: $warnings"
  # The editor's name leads to the same page.
  (cd "$usr/share/man" && LC_ALL=C.UTF-8 MANWIDTH=80 man -l man6/trok-mirel-edit.6.gz 2>/dev/null) | grep -q "LEVEL EDITOR" ||
    fail "man trok-mirel-edit does not show the level editor's section"
fi
echo "1 passed, 0 failed"
