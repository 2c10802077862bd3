# Shared helpers for the perf scripts (source this file). Each script runs the game as
# built (GAME_SRC), under its own Xvfb unless PERF_DISPLAY already answers.
# Settings (environment): PERF_DISPLAY (:83), GAME_SRC (the built game directory),
# BUILD_DIR (for world_tick_bench), PERF_WORK (scratch dir, made if unset).
PERF_DISPLAY=${PERF_DISPLAY:-:83}
GAME_SRC=${GAME_SRC:-$PWD/build-release/game}
BUILD_DIR=${BUILD_DIR:-$PWD/build-release}
PERF_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
PERF_WORK=${PERF_WORK:-$(mktemp -d /tmp/perf-work.XXXXXX)}
mkdir -p "$PERF_WORK"
HZ=$(getconf CLK_TCK)
export DISPLAY=$PERF_DISPLAY SDL_AUDIODRIVER=dummy
STARTED_PIDS=()

# Start our own Xvfb unless the display already answers.
ensure_xvfb() {
  if xdpyinfo -display "$PERF_DISPLAY" >/dev/null 2>&1; then return; fi
  Xvfb "$PERF_DISPLAY" -screen 0 1280x1024x24 >/dev/null 2>&1 &
  XVFB_PID=$!
  STARTED_PIDS+=("$XVFB_PID")
  for _ in $(seq 50); do xdpyinfo -display "$PERF_DISPLAY" >/dev/null 2>&1 && return; sleep 0.1; done
  echo "Xvfb did not start" >&2; exit 1
}

# Build the helper binaries into PERF_WORK.
build_tools() {
  [ -x "$PERF_WORK/tickshim.so" ] || gcc -O2 -shared -fPIC -o "$PERF_WORK/tickshim.so" "$PERF_DIR/tickshim.c" -ldl -lpthread -lm
  [ -x "$PERF_WORK/xwatch" ] || [ ! -f "$PERF_DIR/xwatch.c" ] || gcc -O2 -o "$PERF_WORK/xwatch" "$PERF_DIR/xwatch.c" -lX11 -lXdamage -lXfixes -lXtst
}

# A fresh copy of the game directory; $1 = name. Optional: MUSIC=Off writes Options.dat.
fresh_game() {
  local dir=$PERF_WORK/$1
  rm -rf "$dir"; cp -r "$GAME_SRC" "$dir"
  if [ "${MUSIC:-On}" = Off ]; then
    printf '16\r\n0 Up 38 Down 40 Left 37 Right 39 Ctrl 17 Shift 16 \r\n0 T 84 G 71 F 70 H 72 Z 90 A 65 \r\nOn\r\nOff\r\n' > "$dir/Options.dat"
  fi
  echo "$dir"
}

# Start a program in the background; prints its pid. $1 = dir, rest = command (env allowed).
start_in() {
  local dir=$1; shift
  ( cd "$dir" && exec env "$@" ) >"$dir.log" 2>&1 &
  local pid=$!
  STARTED_PIDS+=("$pid")
  echo "$pid"
}

window_of() {  # first X window of a pid, waiting up to 10 s
  local w
  for _ in $(seq 100); do
    w=$(xdotool search --pid "$1" 2>/dev/null | head -1)
    [ -n "$w" ] && { echo "$w"; return; }
    sleep 0.1
  done
  return 1
}

keys_to() {  # $1 = pid, rest = xdotool key names
  local pid=$1; shift
  local w; w=$(window_of "$pid") || return 1
  xdotool windowfocus --sync "$w" 2>/dev/null || xdotool windowfocus "$w"
  for k in "$@"; do xdotool key "$k"; sleep 0.3; done
}

# "comm ticks" per thread, summed by thread name.
thread_ticks() {
  local t
  for t in /proc/"$1"/task/*; do echo "$(cat "$t/comm" 2>/dev/null | tr ' ' _) $(awk '{print $14+$15}' "$t/stat" 2>/dev/null)"; done |
    awk '{a[$1]+=$2} END{for(k in a) print k, a[k]}' | sort
}
# Per-thread CPU share (percent of a core) over $2 seconds, one "name pct" per line.
thread_share() {
  local a b
  a=$(thread_ticks "$1"); sleep "$2"; b=$(thread_ticks "$1")
  join -a2 -e0 -o 0,1.2,2.2 <(echo "$a") <(echo "$b") | awk -v hz="$HZ" -v s="$2" '{printf "%s %.2f\n", $1, ($3-$2)*100/(hz*s)}'
}

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# CPU share of one core (percent) over $2 seconds.
cpu_share() {
  local a b
  a=$(cpu_ticks "$1"); sleep "$2"; b=$(cpu_ticks "$1")
  awk -v a="$a" -v b="$b" -v hz="$HZ" -v s="$2" 'BEGIN{printf "%.2f", (b-a)*100/(hz*s)}'
}

# "rss pss uss" in kB.
mem_of() {
  awk '/^Rss:/{r=$2} /^Pss:/{p=$2} /^Private_Clean:/{u+=$2} /^Private_Dirty:/{u+=$2} END{print r, p, u}' "/proc/$1/smaps_rollup"
}

# Hold arrow keys to and fro for $2 seconds in the window of pid $1 (runs in background).
walker() {
  local pid=$1 secs=$2 w
  w=$(window_of "$pid")
  xdotool windowfocus --sync "$w" 2>/dev/null
  local end=$((SECONDS + secs))
  while [ $SECONDS -lt $end ]; do
    for k in Left Right Up Down; do
      xdotool keydown $k; sleep 0.6; xdotool keyup $k
    done
  done
}

stop_pid() {
  local pid=$1
  kill "$pid" 2>/dev/null || return 0
  for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
  kill -9 "$pid" 2>/dev/null; sleep 0.1
}

cleanup_started() {
  local i
  for ((i=${#STARTED_PIDS[@]}-1; i>=0; i--)); do stop_pid "${STARTED_PIDS[$i]}"; done
}

# min / median of numbers on stdin (one per line)
minmed() { sort -g | awk '{v[NR]=$1} END{if(NR==0){print "- -";exit} m=(NR%2)?v[(NR+1)/2]:(v[NR/2]+v[NR/2+1])/2; printf "%s %s\n", v[1], m}'; }
