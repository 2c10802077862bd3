// Ticks per second of the world on a crowded room: every producer kind, every
// creature, darts, all four laser sets and stars, with a host that draws nothing.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <iterator>

#include "play/game.h"
#include "play/world_tick.h"

namespace {

class QuietHost : public GameHost {
 public:
  void DrawCell(int, int, int) override {}
  void DrawRoom() override {}
  void ProcessMessages() override {}
  void PlaySound(int) override {}
  int Random(int k) override {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<int>((state_ >> 33) % static_cast<uint64_t>(k));
  }
  void ShowError(const std::string&) override {}
  void SetLevelTitle(const std::string&) override {}
  bool PollJoystick(int, JoystickReading&) override { return true; }

 private:
  uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

void FillBusyRoom(Game& game) {
  WorldGrid& w = game.World;
  w.ClearWorld();
  w.SetCurrentRoom(2, 2);
  const CellCode things[] = {
      Cell::AntP,        Cell::DevilP,      Cell::CowP,        Cell::FrogP,       Cell::RandomP,
      Cell::HorseP,      Cell::PigP1,       Cell::PigP3,       Cell::PigP5,       Cell::FireP,
      Cell::Ant,         Cell::Devil,       Cell::Cow,         Cell::Chigger,     Cell::Frog,
      Cell::Horse,       Cell::Pig,         Cell::Star,        Cell::Fire1,       Cell::Fire2,
      Cell::Fire3,       Cell::Fire4,       Cell::Fire5,       Cell::Fire6,       Cell::Fire7,
      Cell::Fire8,       Cell::LaserSet1P3, Cell::LaserSet1P5, Cell::LaserSet2P3, Cell::LaserSet2P5,
      Cell::LaserSet3P3, Cell::LaserSet3P5, Cell::LaserSet4P3, Cell::LaserSet4P5, Cell::BrickShootable,
      Cell::BrickEnemyTrans, Cell::BrickSolid, Cell::Key};
  int i = 0;
  for (int y = 0; y < GridRoomHeight; ++y)
    for (int x = 0; x < GridRoomWidth; ++x)
      if ((x + 2 * y) % 3 == 0) w.At(x, y) = things[i++ % std::size(things)];
  game.PlayerCount = 2;
  game.Player1.PlayerNumber = 1;
  game.Player2.PlayerNumber = 2;
  game.Player1.Dead = game.Player2.Dead = true;  // their markers still draw the chasers
  w.At(10, 6) = Cell::Player1;
  w.At(3, 10) = Cell::Player2;
}

// Every pass of the main loop: players every fourth tick, a scan every sixteenth.
void BM_WorldTick(benchmark::State& state) {
  QuietHost host;
  Game game(host);
  FillBusyRoom(game);
  const auto busy = game.World.Cells;
  int64_t ticks = 0;
  for (auto _ : state) {
    WorldTick(game);
    // Keep the room crowded: restore it after each laser cycle.
    if (++ticks % 64 == 0) game.World.Cells = busy;
    benchmark::DoNotOptimize(game.World.Cells.data());
  }
  state.counters["ticks_per_second"] = benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WorldTick);

// Only the ticks that run a full scan.
void BM_FullScanTick(benchmark::State& state) {
  QuietHost host;
  Game game(host);
  FillBusyRoom(game);
  const auto busy = game.World.Cells;
  int64_t ticks = 0;
  for (auto _ : state) {
    game.Clock = {64, 49, 33, 17};
    WorldTick(game);
    if (++ticks % 4 == 0) game.World.Cells = busy;
    benchmark::DoNotOptimize(game.World.Cells.data());
  }
  state.counters["ticks_per_second"] = benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FullScanTick);

}  // namespace
