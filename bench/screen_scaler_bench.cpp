// The scaling step alone: the whole 800 x 600 screen into desktops of common sizes
// (a room change or a new screen), and one changed cell.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/screen_scaler.h"

namespace {

void Scale(benchmark::State& state, int outputWidth, int outputHeight, Rect area) {
  Image screen(800, 600, Color{1, 0, 51});
  ScreenScaler scaler;
  scaler.Configure(800, 600, FitScreen(outputWidth, outputHeight, 800, 600));
  std::vector<uint32_t> output(static_cast<size_t>(outputWidth) * outputHeight);
  for (auto _ : state) {
    benchmark::DoNotOptimize(scaler.Scale(screen, area, output.data(), outputWidth));
    benchmark::ClobberMemory();
  }
  state.counters["output_pixels"] = static_cast<double>(scaler.OutputArea(area).Area());
}

const Rect kWholeScreen{0, 0, 800, 600};
const Rect kOneCell{80 + 32 * 7, 64 + 32 * 5, 32, 32};

}  // namespace

BENCHMARK_CAPTURE(Scale, whole_1280x1024, 1280, 1024, kWholeScreen);
BENCHMARK_CAPTURE(Scale, whole_1920x1080, 1920, 1080, kWholeScreen);
BENCHMARK_CAPTURE(Scale, whole_2560x1440, 2560, 1440, kWholeScreen);
BENCHMARK_CAPTURE(Scale, cell_1920x1080, 1920, 1080, kOneCell);
