// Every shipped level comes with a solution for one player and one for two, and each
// still finishes its level in the game as it is now. A change to the game that changes
// how it plays shows here first; one that must change it records the solutions again
// (scripts/record_solutions.sh) and says why.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "replay/replay_file.h"
#include "shell/replay_check.h"

namespace fs = std::filesystem;

namespace {

constexpr int ShippedLevels = 30;

class ShippedSolutionTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    previous_ = fs::current_path();
    fs::current_path(TROK_GAME_DIR);
  }
  void TearDown() override { fs::current_path(previous_); }

 private:
  fs::path previous_;
};

TEST_P(ShippedSolutionTest, FinishesItsLevelForOneAndForTwoPlayers) {
  for (const int players : {1, 2}) {
    char name[64];
    std::snprintf(name, sizeof name, "Solutions/%02d-%dp.trokreplay", GetParam(), players);
    Replay replay;
    std::string error;
    ASSERT_EQ(ReadReplayFile(name, replay, error), ReplayReadResult::Ok) << error;
    EXPECT_EQ(replay.settings.playerCount, players) << name;
    EXPECT_TRUE(replay.end.levelFinished) << name << " does not finish its level";
    const ReplayCheckOutcome outcome = CheckReplayFile(name);
    EXPECT_EQ(outcome.status, 0) << name << ": " << outcome.line;
    char level[16];
    std::snprintf(level, sizeof level, "level %d,", GetParam());
    EXPECT_NE(outcome.line.find(level), std::string::npos) << name << ": " << outcome.line;
  }
}

INSTANTIATE_TEST_SUITE_P(ShippedLevels, ShippedSolutionTest, ::testing::Range(0, ShippedLevels));

}  // namespace
