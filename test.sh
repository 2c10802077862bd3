#!/usr/bin/env bash
# Builds everything (Debug, with address and undefined-behaviour sanitizers) and runs
# every test headless.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh --test
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTROK_SANITIZE=ON "${launcher[@]}"
cmake --build build-test -j"$(nproc)"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
cd build-test
ctest --output-on-failure -j"$(nproc)"
