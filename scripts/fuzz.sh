#!/usr/bin/env bash
# Fuzzes every reader of a file a player can touch with libFuzzer, each for MINUTES.
#   scripts/fuzz.sh [MINUTES] [TARGET...]      (default: 10 minutes, every target)
#   FUZZ_PARALLEL=2 scripts/fuzz.sh 10         (two targets at a time)
# Builds with clang in build-fuzz/ (installs clang and its fuzzer runtime if missing),
# starts each target from its seed corpus in tests/fuzz/corpus/<target>/ (working copy
# in build-fuzz/corpus/), and leaves crashing inputs in build-fuzz/crashes/<target>/.
# A crash found is fixed and its input added to tests/fuzz/regressions/<target>/,
# which the normal test suite replays under the sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-10}
shift || true
all=(level_file level_text options_file high_scores_file wave_file bmp_file jpeg_file midi_file)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

need=()
command -v clang++ >/dev/null || need+=(clang)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-14-dev)
if [ ${#need[@]} -gt 0 ]; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${need[@]}"
fi
bash scripts/setup.sh --test

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
nice cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTROK_FUZZ=ON -DTROK_TESTS=OFF -DTROK_BENCH=OFF "${launcher[@]}" >/dev/null
nice cmake --build build-fuzz --target fuzz_all

# Longest input worth trying per target: a little more than its largest real file.
max_len() {
  case $1 in
    level_file) echo 2600 ;; level_text) echo 8192 ;; options_file) echo 1024 ;;
    high_scores_file) echo 4096 ;; wave_file) echo 4096 ;; bmp_file) echo 8192 ;;
    jpeg_file) echo 16384 ;; midi_file) echo 64 ;; *) echo 4096 ;;
  esac
}

run_one() {
  local t=$1 work=build-fuzz/corpus/$1 crashes=build-fuzz/crashes/$1/
  mkdir -p "$work" "$crashes"
  cp -n tests/fuzz/corpus/"$t"/* "$work"/ 2>/dev/null || true
  echo "== $t: $minutes min"
  nice build-fuzz/fuzz_"$t" "$work" -max_total_time=$((minutes * 60)) -max_len="$(max_len "$t")" \
    -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 -use_value_profile=1 \
    -print_final_stats=1 -artifact_prefix="$crashes" >build-fuzz/"$t".log 2>&1 || true
}
export -f run_one max_len
export minutes
printf '%s\n' "${targets[@]}" | xargs -P "${FUZZ_PARALLEL:-1}" -I{} bash -c 'run_one {}'

# The figures: runs, coverage, features, corpus size and crashes per target.
printf '\n%-18s %12s %8s %8s %8s %8s\n' target runs cov ft corpus crashes
for t in "${targets[@]}"; do
  log=build-fuzz/$t.log
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | awk '{print $2}' | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' <<<"$last" | awk '{print $2}')
  ft=$(grep -o 'ft: [0-9]*' <<<"$last" | awk '{print $2}')
  corp=$(grep -o 'corp: [0-9]*' <<<"$last" | awk '{print $2}')
  crashes=$(find build-fuzz/crashes/"$t" -type f | wc -l)
  printf '%-18s %12s %8s %8s %8s %8s\n' "$t" "${runs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}" "$crashes"
done
