#!/usr/bin/env bash
# Instructions per presenting pass of present_bench, counted by callgrind (repeatable
# whatever else the machine does): one line per benchmark.
# Usage: bench/perf/instructions_per_pass.sh BUILD_DIR   (a Release build with the benchmarks)
set -euo pipefail
bench=${1:?build directory, e.g. build-release}/present_bench
for filter in NothingChanged WalkingPlayer; do
  out=$(mktemp)
  valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect='*GameScreen::Pass*' \
    --toggle-collect='*GameScreen::Step*' "$bench" --benchmark_filter="$filter" --benchmark_min_time=0.05 >/dev/null 2>&1
  total=$(callgrind_annotate "$out" | awk '/PROGRAM TOTALS/{gsub(",", "", $1); print $1; exit}')
  # Calls of Pass, under the compressed name id callgrind gave it.
  id=$(grep -oE '^c?fn=\([0-9]+\) .*GameScreen::Pass' "$out" | head -1 | grep -oE '^c?fn=\([0-9]+\)' | grep -oE '\([0-9]+\)')
  passes=$(awk -v id="$id" '/^cfn=/{p = index($0, "cfn=" id) == 1} /^calls=/{if (p) {split($1, a, "="); c += a[2]} p = 0} END{print c}' "$out")
  awk -v f="$filter" -v t="$total" -v c="$passes" 'BEGIN{printf "%-16s %8d passes %12d instructions %10.0f per pass\n", f, c, t, t / c}'
  rm -f "$out"
done
