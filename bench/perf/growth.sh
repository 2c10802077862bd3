#!/usr/bin/env bash
# Whether a long game grows: resident memory (RSS, PSS, USS, heap) in level 0 with music,
# the player walking to and fro all the time, sampled every minute; prints the figure
# after one minute, the last one and their difference.
# Usage: growth.sh [MINUTES=30]
set -uo pipefail
source "$(dirname "$0")/lib.sh"
MINUTES=${1:-30}
trap cleanup_started EXIT
ensure_xvfb
RAW=$PERF_WORK/growth.tsv
: >"$RAW"
dir=$(fresh_game growth)
pid=$(start_in "$dir" ./trok)
window_of "$pid" >/dev/null
sleep 1.5; keys_to "$pid" a; sleep 2; keys_to "$pid" F2; sleep 2
walker "$pid" $((MINUTES * 60 + 5)) & wpid=$!
heap_of() { awk '/^[0-9a-f]+-[0-9a-f]+ /{n=$6} /^Rss:/{if (n=="[heap]") h+=$2} END{print h+0}' "/proc/$1/smaps"; }
for m in $(seq "$MINUTES"); do
  sleep 60
  kill -0 "$pid" 2>/dev/null || { echo "the game ended after $m minutes" >&2; break; }
  read -r rss pss uss < <(mem_of "$pid")
  printf '%s\t%s\t%s\t%s\t%s\n' "$m" "$rss" "$pss" "$uss" "$(heap_of "$pid")" >>"$RAW"
done
wait "$wpid" 2>/dev/null
stop_pid "$pid"
printf 'minute\tRSS kB\tPSS kB\tUSS kB\theap kB\n'; cat "$RAW"
awk -F'\t' 'NR==1{a=$2} {b=$2; m=$1} END{printf "RSS after 1 minute %d kB, after %d minutes %d kB: grew %d kB\n", a, m, b, b-a}' "$RAW"
