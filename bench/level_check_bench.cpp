// Proving levels finishable: a shipped level as the build checks it, two levels made
// to stress the two-player search (every door order and pair of crossing cells; every
// pair of walls overwritten by crossing), and the hardest of the random levels that
// tools/hard_levels makes, with the process's peak memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <string>

#include "authoring/level_check.h"
#include "authoring/level_io.h"

namespace {

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

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

// The process's peak covers every benchmark run before this one: run it alone
// (--benchmark_filter=HardestRandom) for the checker's own figure.
void BM_CheckHardestRandomLevel(benchmark::State& state) {
  CheckFile(state, "tests/authoring/levels/hard/hard-3.txt", false);
  state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_CheckHardestRandomLevel)->Unit(benchmark::kMillisecond);

}  // namespace
