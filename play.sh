#!/usr/bin/env bash
# Builds the game (Release), assembles its directory and starts it from there.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTROK_TESTS=OFF -DTROK_BENCH=OFF
cmake --build build-release -j"$(nproc)"
cd build-release/game
exec ./trok
