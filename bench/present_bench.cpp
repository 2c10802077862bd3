// Presenting a game screen: a pass in which nothing changed, and a pass in which a
// walking player changed two cells of the room. The app has a real window on SDL's
// dummy video driver (covering its 1024 x 768 desktop, so the 800 x 600 screen is
// scaled by 1.28), on virtual time; every pass is a presenting one. Counters per pass:
// heap allocations, areas composed, pictures presented. Instruction counts of one pass:
// bench/perf/instructions_per_pass.sh.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "ui/app.h"
#include "ui/form.h"

namespace {

std::atomic<uint64_t> allocations{0};

// The dummy driver unless another one is asked for (an X display, say).
const bool kVideoDriverChosen = [] { return setenv("SDL_VIDEODRIVER", "dummy", 0) == 0; }();

constexpr int kOriginX = 80, kOriginY = 64;

// The main window in a game: a room of tiles on the canvas, the level title, two
// status panels of labels, the hidden title menu and tile holders.
class GameScreen {
 public:
  GameScreen() : form_(app, "Main", 800, 600, Color{1, 0, 51}) {
    std::string error;
    if (!app.Init(error) || !app.SetFullScreen(800, 600, error)) std::abort();
    floor_ = Image(32, 32, Color{40, 40, 48});
    player_ = Image(32, 32, Color{0, 160, 0});
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 20; ++x) form_.canvas.Blit(floor_, kOriginX + 32 * x, kOriginY + 32 * y);
    auto& title = form_.Add<Label>("LevelTitleLbl", 0, 32, 800, 30);
    title.autoSize = false;
    title.align = Align::Center;
    title.SetText("Level 0");
    for (int p = 0; p < 2; ++p) {
      auto& box = form_.Add<Panel>(p ? "Player2InfoBox" : "Player1InfoBox", 80 + 320 * p, 449, 310, 105);
      box.background = Color{1, 0, 51};
      for (int i = 0; i < 14; ++i) form_.Add<Label>("L" + std::to_string(i), 4 + 130 * (i % 2), -4 + 24 * (i / 2), 0, 0, &box).SetText(std::to_string(i * 10));
    }
    auto& menu = form_.Add<Panel>("MenuBox", 51, 31, 690, 500);
    menu.visible = false;
    for (int i = 0; i < 12; ++i) form_.Add<Picture>("P" + std::to_string(i), 10 * i, 10, 200, 60, &menu).image = Image(200, 60, White);
    auto& holders = form_.Add<Panel>("ScrollBox1", 0, 0, 32, 32);
    holders.visible = false;
    for (int i = 0; i < 88; ++i) form_.Add<Picture>("A" + std::to_string(i), 0, 0, 32, 32, &holders).image = floor_;
    app.Show(&form_);
    for (int i = 0; i < 2; ++i) {
      clock.Advance(16);
      app.ProcessMessages();
    }
  }
  // One presenting pass of the message pump (not inlined: instruction counters can
  // count it alone).
  [[gnu::noinline]] void Pass() {
    clock.Advance(16);
    app.ProcessMessages();
  }
  // The player steps one cell to the right (wrapping along the room's middle row).
  [[gnu::noinline]] void Step() {
    form_.canvas.Blit(floor_, kOriginX + 32 * column_, kOriginY + 32 * 6);
    form_.InvalidateRect(kOriginX + 32 * column_, kOriginY + 32 * 6, 32, 32);
    column_ = (column_ + 1) % 20;
    form_.canvas.Blit(player_, kOriginX + 32 * column_, kOriginY + 32 * 6);
    form_.InvalidateRect(kOriginX + 32 * column_, kOriginY + 32 * 6, 32, 32);
  }

  VirtualClock clock;
  App app{clock, false};

 private:
  Form form_;
  Image floor_, player_;
  int column_ = 0;
};

void Report(benchmark::State& state, const App& app, const App::PresentStats& before, uint64_t allocated) {
  const double passes = static_cast<double>(state.iterations());
  const App::PresentStats& after = app.Stats();
  state.counters["allocs/pass"] = static_cast<double>(allocated) / passes;
  state.counters["composes/pass"] =
      static_cast<double>(after.fullComposes + after.partialComposes - before.fullComposes - before.partialComposes) /
      passes;
  state.counters["presents/pass"] = static_cast<double>(after.presents - before.presents) / passes;
}

void BM_PassWithNothingChanged(benchmark::State& state) {
  GameScreen screen;
  const App::PresentStats before = screen.app.Stats();
  const uint64_t allocatedBefore = allocations.load();
  for (auto _ : state) screen.Pass();
  Report(state, screen.app, before, allocations.load() - allocatedBefore);
}
BENCHMARK(BM_PassWithNothingChanged);

void BM_PassPresentingAWalkingPlayer(benchmark::State& state) {
  GameScreen screen;
  const App::PresentStats before = screen.app.Stats();
  const uint64_t allocatedBefore = allocations.load();
  for (auto _ : state) {
    screen.Step();
    screen.Pass();
  }
  Report(state, screen.app, before, allocations.load() - allocatedBefore);
}
BENCHMARK(BM_PassPresentingAWalkingPlayer);

}  // namespace

// Counting replacements of the global allocation functions (GCC cannot see that the
// pair below matches).
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
