// The scaling step alone: the whole 800 x 600 screen into desktops of common sizes
// (a room change or a new screen), one changed cell, and a walking step (the two cells
// a player leaves and enters). The screen holds a checkerboard of cell-sized squares,
// so the smooth step meets edges as it does on a room.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/screen_scaler.h"

namespace {

Image Room() {
  Image screen(800, 600, Color{1, 0, 51});
  for (int y = 0; y < 600; y += 32)
    for (int x = 0; x < 800; x += 32)
      if (((x + y) / 32) % 2) screen.FillRect(x, y, 32, 32, Color{200, 120, 40});
  return screen;
}

void Scale(benchmark::State& state, int outputWidth, int outputHeight, std::vector<Rect> areas) {
  Image screen = Room();
  ScreenScaler scaler;
  scaler.Configure(800, 600, FitScreen(outputWidth, outputHeight, 800, 600));
  std::vector<uint32_t> output(static_cast<size_t>(outputWidth) * outputHeight);
  for (auto _ : state) {
    for (const Rect& area : areas) benchmark::DoNotOptimize(scaler.Scale(screen, area, output.data(), outputWidth));
    benchmark::ClobberMemory();
  }
  int64_t pixels = 0;
  for (const Rect& area : areas) pixels += scaler.OutputArea(area).Area();
  state.counters["output_pixels"] = static_cast<double>(pixels);
}

const std::vector<Rect> kWholeScreen{{0, 0, 800, 600}};
const std::vector<Rect> kOneCell{{80 + 32 * 7, 64 + 32 * 5, 32, 32}};
const std::vector<Rect> kWalkingStep{{80 + 32 * 7, 64 + 32 * 5, 32, 32}, {80 + 32 * 8, 64 + 32 * 5, 32, 32}};

}  // namespace

BENCHMARK_CAPTURE(Scale, whole_800x600, 800, 600, kWholeScreen);
BENCHMARK_CAPTURE(Scale, whole_1280x1024, 1280, 1024, kWholeScreen);
BENCHMARK_CAPTURE(Scale, whole_1366x768, 1366, 768, kWholeScreen);
BENCHMARK_CAPTURE(Scale, whole_1920x1080, 1920, 1080, kWholeScreen);
BENCHMARK_CAPTURE(Scale, whole_2560x1440, 2560, 1440, kWholeScreen);
BENCHMARK_CAPTURE(Scale, cell_1280x1024, 1280, 1024, kOneCell);
BENCHMARK_CAPTURE(Scale, cell_1920x1080, 1920, 1080, kOneCell);
BENCHMARK_CAPTURE(Scale, walking_step_1280x1024, 1280, 1024, kWalkingStep);
BENCHMARK_CAPTURE(Scale, walking_step_1920x1080, 1920, 1080, kWalkingStep);
