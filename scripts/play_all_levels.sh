#!/usr/bin/env bash
# Plays every shipped level through with trok_autoplay, with one player and with two,
# and prints one line per run; exits 1 when any run did not finish.
# Usage: scripts/play_all_levels.sh [BUILD_DIR=build-release] [SEED=1]
set -uo pipefail
build=$(cd "${1:-build-release}" && pwd)
seed=${2:-1}
[ -x "$build/trok_autoplay" ] || { echo "no $build/trok_autoplay: build it first" >&2; exit 2; }
cd "$build/game" || exit 2
failed=0
for file in FELDS/FELD.*; do
  level=$((10#${file##*.}))
  for players in 1 2; do
    if line=$("$build/trok_autoplay" --players "$players" --seed "$seed" "$level" 2>&1 | tail -1); then
      echo "$line"
    else
      echo "NOT FINISHED: level $level, $players player(s): $line"
      failed=1
    fi
  done
done
exit "$failed"
