#!/usr/bin/env bash
# Measures what the running game costs: CPU share of one core and resident memory, at
# the title menu and during a game, under a virtual X display.
# Usage: bench/measure_running_game.sh GAME_DIR [SECONDS] [WIDTHxHEIGHT]   (needs xvfb and
# xdotool; the screen is 1600x1200 unless given)
set -euo pipefail
game_dir=${1:?game directory, e.g. build-release/game}
seconds=${2:-10}
display=:57
screen=${3:-1600x1200}
Xvfb "$display" -screen 0 "${screen}x24" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $game $xvfb 2>/dev/null || true' EXIT
sleep 1
cd "$game_dir"
DISPLAY=$display SDL_AUDIODRIVER=dummy ./trok >/dev/null 2>&1 &
game=$!
sleep 1
ticks() { awk '{print $14 + $15}' "/proc/$game/stat"; }
measure() {
  local before after hz
  hz=$(getconf CLK_TCK)
  before=$(ticks)
  sleep "$seconds"
  after=$(ticks)
  local rss
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$game/status")
  echo "$1: $(awk -v t=$((after - before)) -v d=$((hz * seconds)) 'BEGIN { printf "%.2f", t * 100 / d }')% of a core, ${rss} kB resident"
}
DISPLAY=$display xdotool key a
sleep 1
measure "title menu"
DISPLAY=$display xdotool key F2
sleep 1
# Walk to and fro so the screen keeps changing.
( for _ in $(seq 1 $((seconds * 2))); do
    DISPLAY=$display xdotool keydown Down; sleep 0.25; DISPLAY=$display xdotool keyup Down
    DISPLAY=$display xdotool keydown Up; sleep 0.25; DISPLAY=$display xdotool keyup Up
  done ) &
walker=$!
measure "game, walking"
wait "$walker"
