#!/usr/bin/env bash
# Draws every level with the game's tiles, small, and lays them out on one sheet with
# their numbers: levels/contact-sheet.png. Needs ImageMagick (convert, montage).
# Usage: scripts/contact_sheet.sh [BUILD_DIR=build-release]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
[ -x "$build/level_tool" ] || { echo "no $build/level_tool: build it first" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for src in levels/[0-9][0-9]-*.txt; do
  name=$(basename "$src" .txt)
  "$build/level_tool" picture "$src" "$work/$name.bmp" --objects "$build/game/Objects"
  # A ninth of the size keeps every room's shape and the larger objects readable.
  convert "$work/$name.bmp" -resize 11% "$work/$name.png"
done
montage -label '%t' "$work"/*.png -tile 5x -geometry +6+6 -background '#202020' -fill '#e0e0e0' \
  -pointsize 14 "$work/sheet.png"
convert "$work/sheet.png" -depth 8 -colors 64 -strip PNG8:levels/contact-sheet.png
echo "levels/contact-sheet.png: $(du -k levels/contact-sheet.png | cut -f1) KB"
