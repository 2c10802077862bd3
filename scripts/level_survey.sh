#!/usr/bin/env bash
# Prints the tables a level designer judges the levels by: rooms alike across levels,
# filler, threats and routes per level, and how the autopilot fares on each level over
# the seeds 1..5 with one player and with two (game time, damage taken), with the rank
# correlations of all of these with the level number. It measures and judges nothing
# itself: levels/README.md holds the last tables it printed.
# Usage: scripts/level_survey.sh [BUILD_DIR=build-release] [SEEDS="1 2 3 4 5"]
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build-release}" && pwd) || exit 2
seeds=${2:-1 2 3 4 5}
for tool in trok_autoplay level_tool; do
  [ -x "$build/$tool" ] || { echo "no $build/$tool: build it first" >&2; exit 2; }
done
runs=$(mktemp)
trap 'rm -f "$runs"' EXIT
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
for file in "$build"/game/FELDS/FELD.[0-9][0-9]; do
  level=$((10#${file##*.}))
  for players in 1 2; do
    for seed in $seeds; do
      line=$(cd "$build/game" && "$build/trok_autoplay" --players "$players" --seed "$seed" "$level" 2>&1 | tail -1)
      finished=0
      [[ $line == finished* ]] && finished=1
      seconds=$(sed -n 's/.* in \([0-9.]*\) s of game time.*/\1/p' <<<"$line")
      damage=$(sed -n 's/.*damage taken \([0-9]*\).*/\1/p' <<<"$line")
      echo "$level $players $seed ${seconds:-0} ${damage:-0} $finished" >> "$runs"
      [ "$finished" = 1 ] || echo "NOT FINISHED (seed $seed): $line" >&2
    done
  done
done
"$build/level_tool" survey levels --runs "$runs"
