// What the level editor does after every edit: the rules, drawing the map (the whole
// level, and a room at the game's size), and the checker's verdict with its routes.
#include <benchmark/benchmark.h>

#include <string>

#include "authoring/level_io.h"
#include "editor/level_rules.h"
#include "editor/map_painter.h"
#include "editor/verdict.h"

namespace {

LevelBytes Level(benchmark::State& state) {
  const LevelReadResult read = ReadLevelText(std::string(TROK_SOURCE_DIR) + "/levels/19-final-fortress.txt");
  if (!read.ok) state.SkipWithError(read.error.c_str());
  return read.bytes;
}

void BM_EditorRules(benchmark::State& state) {
  const LevelBytes bytes = Level(state);
  for (auto _ : state) benchmark::DoNotOptimize(CheckLevelRules(bytes).size());
}
BENCHMARK(BM_EditorRules)->Unit(benchmark::kMicrosecond);

void DrawMap(benchmark::State& state, bool room) {
  const LevelBytes bytes = Level(state);
  EditorTiles tiles;  // stand-in cells: the same copying as the game's pictures
  MapView view(736, 456);
  if (room) view.ShowRoom(1, 1);
  MapOverlay overlay;
  overlay.cursor = 500;
  Image picture;
  for (auto _ : state) {
    PaintMap(picture, view, bytes, tiles, overlay);
    benchmark::DoNotOptimize(picture.Pixels().data());
  }
}
void BM_EditorDrawWholeLevel(benchmark::State& state) { DrawMap(state, false); }
BENCHMARK(BM_EditorDrawWholeLevel)->Unit(benchmark::kMicrosecond);
void BM_EditorDrawRoom(benchmark::State& state) { DrawMap(state, true); }
BENCHMARK(BM_EditorDrawRoom)->Unit(benchmark::kMicrosecond);

void BM_EditorVerdict(benchmark::State& state) {
  const LevelBytes bytes = Level(state);
  for (auto _ : state) benchmark::DoNotOptimize(CheckForEditor(bytes, 1).onePlayerRoute.size());
}
BENCHMARK(BM_EditorVerdict)->Unit(benchmark::kMillisecond);

}  // namespace
