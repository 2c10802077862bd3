// Proving levels finishable: a shipped level as the build checks it, and two levels made
// to stress the two-player search (every door order and pair of crossing cells; every
// pair of walls overwritten by crossing).
#include <benchmark/benchmark.h>

#include <string>

#include "authoring/level_check.h"
#include "authoring/level_io.h"

namespace {

void CheckFile(benchmark::State& state, const std::string& path, bool route) {
  const LevelReadResult read = ReadLevelText(std::string(TROK_SOURCE_DIR) + "/" + path);
  if (!read.ok) {
    state.SkipWithError(read.error.c_str());
    return;
  }
  CheckOptions options;
  options.wantRoute = route;
  for (auto _ : state) {
    const CheckReport report = CheckLevel(read.bytes, options);
    benchmark::DoNotOptimize(report.twoPlayers.states);
  }
}

void BM_CheckShippedLevel(benchmark::State& state) {
  CheckFile(state, "levels/19-final-fortress.txt", false);
}
BENCHMARK(BM_CheckShippedLevel)->Unit(benchmark::kMillisecond);

void BM_CheckShippedLevelWithRoutes(benchmark::State& state) {
  CheckFile(state, "levels/19-final-fortress.txt", true);
}
BENCHMARK(BM_CheckShippedLevelWithRoutes)->Unit(benchmark::kMillisecond);

void BM_CheckOpenBordersManyDoors(benchmark::State& state) {
  CheckFile(state, "tests/authoring/levels/open-borders-many-doors.txt", false);
}
BENCHMARK(BM_CheckOpenBordersManyDoors)->Unit(benchmark::kMillisecond);

void BM_CheckWalledFarSides(benchmark::State& state) {
  CheckFile(state, "tests/authoring/levels/walled-far-sides.txt", false);
}
BENCHMARK(BM_CheckWalledFarSides)->Unit(benchmark::kMillisecond);

}  // namespace
