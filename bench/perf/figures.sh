#!/usr/bin/env bash
# The running game's figures against their goals, side by side with the peer (Debian's
# tworld), all from one run: CPU share at the title menu, standing in level 0 and walking,
# with music and without; resident memory at the title menu and in a game with music; the
# world-tick period; exec -> first screen and typed key -> title menu; and, when given,
# the growth of a long game (growth.sh) and what a presenting pass in which nothing
# changed costs.
# Usage: figures.sh [REPS=3] [SECS=30] [PERIOD_SECS=60]
#   BENCH_DIR=build-rel (optional): a build with present_bench for the last row.
#   GROWTH_TSV=file (optional): growth.sh's raw figures (its PERF_WORK/growth.tsv).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
export PERF_WORK PERF_DISPLAY GAME_SRC
REPS=${1:-3}
SECS=${2:-30}
PSECS=${3:-60}

echo "measuring CPU and memory ($REPS x $SECS s per scene) ..." >&2
bash "$here/measure.sh" "$REPS" "$SECS" >"$PERF_WORK/measure.txt"
echo "measuring the world-tick period while walking ($PSECS s) ..." >&2
bash "$here/period.sh" "$PSECS" 1 >"$PERF_WORK/period.txt"
echo "measuring start-up ($REPS runs) ..." >&2
bash "$here/startup.sh" "$REPS" >"$PERF_WORK/startup.txt"

median() {  # file program figure [scale]
  awk -F'\t' -v p="$2" -v f="$3" '$2==p && $3==f {print $4}' "$1" | minmed | awk -v s="${4:-1}" '$2!="-"{printf "%.2f", $2/s} $2=="-"{print "-"}'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{ if (b+0>0 && a!="-") printf "%.1fx", a/b; else print "-" }'; }
# $1 value, $2 low bound ("-" for none), $3 high bound
verdict() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN{ if (v=="-" || hi=="-") print "?"; else if ((lo=="-" || v+0>=lo+0) && v+0<=hi+0) print "met"; else print "MISSED" }'; }

M=$PERF_WORK/measure.tsv
S=$PERF_WORK/startup.tsv
tick=$(sed -n '/^=== trok/,/^=== tworld/p' "$PERF_WORK/period.txt" | grep -m1 '^tick period' |
  sed -E 's/.*median= *([0-9.]+).*p99= *([0-9.]+).*/\1 \2/')
read -r tick_med tick_p99 <<<"${tick:-- -}"

printf '\n%-40s | %9s | %9s | %7s | %-13s | %s\n' "figure (median of $REPS)" trok tworld ratio goal verdict
printf '%s\n' "-----------------------------------------+-----------+-----------+---------+---------------+--------"
row() {  # label trok tworld low high goal-text
  printf '%-40s | %9s | %9s | %7s | %-13s | %s\n' "$1" "$2" "$3" "$(ratio "$2" "$3")" "$6" "$(verdict "$2" "$4" "$5")"
}
times() { awk -v a="$1" -v f="$2" 'BEGIN{ if (a=="-") print "-"; else printf "%.3f", a*f }'; }  # the peer's figure times f
w_menu=$(median "$M" tworld cpu_menu); w_still=$(median "$M" tworld cpu_still); w_walk=$(median "$M" tworld cpu_walk)
w_first=$(median "$S" tworld first_screen); w_key=$(median "$S" tworld key_to_settled)
row "CPU, title menu idle (% core)" "$(median "$M" trok cpu_menu)" "$w_menu" - 0.5 "<= 0.5"
row "CPU, level 0 standing, no music (%)" "$(median "$M" trok cpu_stillnomusic)" "$w_still" - "$w_still" "<= peer"
row "CPU, walking, no music (% core)" "$(median "$M" trok cpu_walknomusic)" "$w_walk" - "$w_walk" "<= peer"
row "CPU, level 0 standing, music (% core)" "$(median "$M" trok cpu_still)" "$w_still" - "$(times "$w_still" 1.3)" "<= 1.3 x peer"
row "CPU, walking, music (% core)" "$(median "$M" trok cpu_walk)" "$w_walk" - "$(times "$w_walk" 1.3)" "<= 1.3 x peer"
row "RSS at the title menu (MB)" "$(median "$M" trok rss_menu 1024)" "$(median "$M" tworld rss_menu 1024)" - 22 "<= 22"
row "RSS in a game with music (MB)" "$(median "$M" trok rss_walk 1024)" "$(median "$M" tworld rss_walk 1024)" - 32 "<= 32"
row "world tick period, median (ms)" "$tick_med" - 16.0 16.2 "16.0 - 16.2"
row "world tick period, p99 (ms)" "$tick_p99" - - 17.5 "<= 17.5"
row "exec -> first screen drawn (ms)" "$(median "$S" trok first_screen)" "$w_first" - "$w_first" "<= peer"
row "typed key -> title menu drawn (ms)" "$(median "$S" trok key_to_settled)" "$w_key" - "$w_key" "<= peer"
if [ -n "${GROWTH_TSV:-}" ] && [ -s "$GROWTH_TSV" ]; then
  read -r g_min g_kb < <(awk -F'\t' 'NR==1{a=$2} {b=$2; m=$1} END{printf "%d %.2f\n", m, (b-a)/1024}' "$GROWTH_TSV")
  row "RSS growth, minute 1 -> $g_min (MB)" "$g_kb" - -1 1 "within 1"
else
  printf '%-40s | %s\n' "RSS growth over a long game" "not measured here: growth.sh 30, then GROWTH_TSV="
fi
if [ -n "${BENCH_DIR:-}" ] && [ -x "$BENCH_DIR/present_bench" ]; then
  pass=$("$BENCH_DIR/present_bench" --benchmark_filter=NothingChanged --benchmark_min_time=0.2 2>/dev/null |
    awk '/^BM_PassWithNothingChanged/{for(i=1;i<=NF;i++) if($i ~ /\/pass=/) printf "%s ", $i}')
  printf '%-40s | %s\n' "a pass in which nothing changed" "${pass:-present_bench did not run}"
fi
echo
echo "details: $PERF_WORK/measure.txt, period.txt, startup.txt (raw: measure.tsv, startup.tsv)"
