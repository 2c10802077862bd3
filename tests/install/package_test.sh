#!/usr/bin/env bash
# The Debian package built by CPack: what it holds, with which owners and modes, and
# what it depends on (the libraries, fonts and sound font the game needs at run time,
# and no build tools).
#   package_test.sh <build dir>
set -euo pipefail
build=$1
for tool in cpack dpkg-deb dpkg; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: no Debian package here"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack"; }
debs=("$work"/*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "expected one package, found: ${debs[*]}"
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = trok-mirel ] || fail "package name $(field Package)"
[ "$(field Section)" = games ] || fail "section $(field Section)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture $(field Architecture)"
[[ "$(field Version)" =~ ^[0-9]+\.[0-9]+\.[0-9]+ ]] || fail "version $(field Version)"
[[ "$(field Maintainer)" =~ ^.+\ \<.+@.+\>$ ]] || fail "maintainer $(field Maintainer)"
[ -n "$(field Description)" ] || fail "no description"

# Depends: package names, each with an optional version.
depends=$(field Depends | tr ',' '\n' | sed 's/(.*//; s/|.*//; s/ //g' | sort -u)
for needed in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libsdl2-mixer-2.0-0 libjpeg62-turbo libfluidsynth3 libenet7 \
              fonts-comic-neue fonts-dejavu-core timgm6mb-soundfont libc6 libstdc++6; do
  grep -qxF "$needed" <<<"$depends" || fail "does not depend on $needed: $(field Depends)"
done
if grep -E -- '-dev$|^(cmake|ninja-build|g\+\+|gcc|build-essential|pkg-config|googletest|libmp3lame0|lib(asan|ubsan|lsan|tsan)[0-9]*)$' <<<"$depends"; then
  fail "depends on build tools: $(field Depends)"
fi
# Every dependency is a package of this system's archive.
archive=$(apt-cache pkgnames 2>/dev/null || true)
if [ -n "$archive" ]; then
  for p in $depends; do
    grep -qxF "$p" <<<"$archive" || fail "$p is not a package of this system's archive"
  done
fi

# The contents: "<mode> <owner/group> <size> <date> <time> <path>" per line.
contents=$(dpkg-deb -c "$deb")
entry() { awk -v path="./$1" '$6 == path { print $1, $2 }' <<<"$contents"; }
expect() {  # expect <path> <mode>
  [ "$(entry "$1")" = "$2 root/root" ] || fail "$1: expected $2 root/root, found '$(entry "$1")'"
}
expect usr/games/trok-mirel -rwxr-xr-x
expect usr/games/trok-mirel-edit -rwxr-xr-x
expect usr/lib/games/trok-mirel/trok -rwxr-xr-x
expect usr/lib/games/trok-mirel/trok-edit -rwxr-xr-x
expect usr/share/games/trok-mirel/HighScores.dat -rw-r--r--
expect usr/share/games/trok-mirel/FELDS/FELD.00 -rw-r--r--
expect usr/share/games/trok-mirel/Objects/00-Floor.bmp -rw-r--r--
expect usr/share/games/trok-mirel/Pictures/Title.jpg -rw-r--r--
expect usr/share/doc/trok-mirel/copyright -rw-r--r--
expect usr/share/doc/trok-mirel/changelog.gz -rw-r--r--
expect usr/share/man/man6/trok-mirel.6.gz -rw-r--r--
expect usr/share/man/man6/trok-mirel-edit.6.gz -rw-r--r--
for size in 16 22 24 32 48 64 128 256; do
  expect "usr/share/icons/hicolor/${size}x${size}/apps/trok-mirel.png" -rw-r--r--
done
expect usr/share/icons/hicolor/scalable/apps/trok-mirel.svg -rw-r--r--
[ "$(grep -cE '\./usr/share/applications/[A-Za-z0-9.]+\.desktop$' <<<"$contents")" = 2 ] ||
  fail "not the two desktop entries (the game's and the level editor's)"
grep -qE '\./usr/share/metainfo/[A-Za-z0-9.]+\.metainfo\.xml$' <<<"$contents" || fail "no metainfo"
for folder in Objects Sounds Music FELDS; do
  built=$(find "$build/game/$folder" -type f | wc -l)
  packed=$(grep -c "\./usr/share/games/trok-mirel/$folder/." <<<"$contents" || true)
  [ "$built" = "$packed" ] || fail "$folder: $packed files packed, $built made"
done

# Nothing else: everything under /usr, owned by root, writable by root alone, no
# directories other than 0755, and none of a played game's files or our tools.
awk '$2 != "root/root" { print; bad = 1 } END { exit bad }' <<<"$contents" || fail "files not owned by root"
awk '$6 !~ /^\.\/(usr\/?.*)?$/ { print; bad = 1 } END { exit bad }' <<<"$contents" || fail "files outside /usr"
awk 'substr($1, 6, 1) == "w" || substr($1, 9, 1) == "w" { print; bad = 1 } END { exit bad }' <<<"$contents" || fail "writable by others"
awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" { print; bad = 1 } END { exit bad }' <<<"$contents" || fail "directory modes"
if grep -E '/(Options\.dat|Capture[0-9]+\.bmp|test_[a-z_]+|trok_driver|tile_maker|level_tool|sound_maker|music_maker|title_picture)$' <<<"$contents"; then
  fail "holds files of a played game or build tools"
fi
# The manual page is compressed; the copyright file is in Debian's machine-readable form.
dpkg-deb -x "$deb" "$work/root"
gzip -t "$work/root/usr/share/man/man6/trok-mirel.6.gz" || fail "manual page not gzip"
head -1 "$work/root/usr/share/doc/trok-mirel/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright file format"
grep -q '^License: MIT' "$work/root/usr/share/doc/trok-mirel/copyright" || fail "copyright does not name MIT"
echo "1 passed, 0 failed"
