// What a check may spend: past its budget a mode is "not proven", which is a verdict and
// not an error of the level; the budget holds over both modes and the dead ends, in
// states and in memory; a check cancelled from another thread stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "authoring/level_check.h"
#include "authoring/level_io.h"
#include "route_walker.h"
#include "support/watchdog.h"
#include "world/cell_codes.h"

namespace {

// Random levels strewn with ice, arrows, shootable walls, keys and doors (tools/hard_levels)
// whose Finish is walled in: no search ends early.
LevelBytes HardLevel(int seed) {
  const LevelReadResult read = ReadLevelText(std::string(TROK_SOURCE_DIR) +
                                             "/tests/authoring/levels/hard/hard-" +
                                             std::to_string(seed) + ".txt");
  EXPECT_TRUE(read.ok) << read.error;
  return read.bytes;
}

// The same level with the walls round its Finish taken away.
LevelBytes WithOpenFinish(LevelBytes bytes) {
  const int finish = static_cast<int>(
      std::find(bytes.begin(), bytes.begin() + LevelCellBytes, Cell::Finish) - bytes.begin());
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (dx || dy) bytes[finish + dy * LevelColumns + dx] = Cell::Floor;
  return bytes;
}

CheckOptions Budget(long states, std::size_t bytes = std::size_t{64} << 20) {
  CheckOptions options;
  options.budget.states = states;
  options.budget.bytes = bytes;
  return options;
}

// One closure may run past the budget before the search looks again: at most once per
// room of the level and its ring, twice over (its own passes and its moves kept).
constexpr long OneClosureAtMost = 2 * 25 * 4;

TEST(CheckBudget, AHardLevelIsNotProvenNeverRefused) {
  const CheckOptions options = Budget(3000);
  for (int seed : {1, 2}) {
    const CheckReport r = CheckLevel(HardLevel(seed), options);
    EXPECT_TRUE(r.errors.empty()) << seed << ": " << r.errors.front();
    EXPECT_TRUE(r.NotProven()) << seed;
    EXPECT_FALSE(r.Ok()) << seed;
    EXPECT_FALSE(r.cancelled);
    for (const ModeResult* mode : {&r.onePlayer, &r.twoPlayers}) {
      EXPECT_TRUE(mode->outOfBudget) << seed;
      EXPECT_FALSE(mode->reachable) << seed;
      EXPECT_FALSE(mode->gaveUp) << seed;
      EXPECT_EQ(mode->failure, NotProvenText) << seed;
      EXPECT_GT(mode->states, 0) << seed << ": each mode has its share";
    }
    EXPECT_GE(r.statesSpent, options.budget.states) << seed;
    EXPECT_LE(r.statesSpent, options.budget.states + OneClosureAtMost) << seed;
  }

  const LevelFinishability f = CheckFinishability(HardLevel(1), Budget(3000));
  for (const Finishability* mode : {&f.onePlayer, &f.twoPlayers}) {
    EXPECT_FALSE(mode->finishable);
    EXPECT_TRUE(mode->notProven);
    EXPECT_EQ(mode->reason, NotProvenText);
    EXPECT_TRUE(mode->route.empty());
  }
}

TEST(CheckBudget, MemoryIsPartOfTheBudget) {
  const std::size_t limit = std::size_t{1} << 20;
  const CheckReport r = CheckLevel(HardLevel(3), Budget(1000000, limit));
  EXPECT_TRUE(r.NotProven());
  EXPECT_TRUE(r.onePlayer.outOfBudget);
  EXPECT_TRUE(r.twoPlayers.outOfBudget);
  EXPECT_LT(r.statesSpent, 1000000) << "memory, not states, stopped it";
  // The searches look at what they hold between states: a store may just have grown.
  EXPECT_GE(r.peakBytes, limit);
  EXPECT_LT(r.peakBytes, 2 * limit);
}

// A mode whose Finish is found keeps its verdict (and its walkable route) when the search
// for dead ends, which comes last, runs out.
TEST(CheckBudget, DeadEndsTakeOnlyWhatTheVerdictsLeft) {
  const LevelBytes bytes = WithOpenFinish(HardLevel(1));
  CheckOptions options = Budget(4000);
  options.wantRoute = true;
  const CheckReport r = CheckLevel(bytes, options);
  EXPECT_TRUE(r.Ok()) << (r.errors.empty() ? "" : r.errors.front());
  EXPECT_FALSE(r.NotProven());
  EXPECT_FALSE(r.onePlayer.outOfBudget);
  EXPECT_EQ(RouteFault(bytes, r.onePlayer.path), "");
  EXPECT_TRUE(r.onePlayer.deadEnds.empty());
  EXPECT_TRUE(std::any_of(r.notes.begin(), r.notes.end(), [](const std::string& n) {
    return n.find("not every move was tried") != std::string::npos;
  }));
  EXPECT_LE(r.statesSpent, options.budget.states + OneClosureAtMost);
}

TEST(CheckBudget, ACancelledCheckStops) {
  std::atomic<bool> cancel{true};
  CheckOptions options;
  options.cancel = &cancel;
  CheckReport r = CheckLevel(HardLevel(4), options);
  EXPECT_TRUE(r.cancelled);
  EXPECT_FALSE(r.NotProven());
  EXPECT_LE(r.statesSpent, OneClosureAtMost);

  // From another thread, in the middle of a check that would otherwise take minutes.
  const Watchdog watchdog(120);
  cancel = false;
  options.budget.states = 100000000;
  options.budget.bytes = std::size_t{1} << 40;
  std::thread canceller([&cancel] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    cancel = true;
  });
  r = CheckLevel(HardLevel(4), options);
  canceller.join();
  EXPECT_TRUE(r.cancelled);
  const LevelFinishability f = CheckFinishability(HardLevel(4), options);
  EXPECT_TRUE(f.cancelled);
  EXPECT_FALSE(f.onePlayer.finishable);
}

}  // namespace
