// The autopilot plays the first shipped level of the real game through, headless.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "authoring/level_io.h"
#include "support/level_sketch.h"
#include "trok_autoplay/autoplay_run.h"

namespace fs = std::filesystem;

namespace {

class AutoplayRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("trok-autoplay-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "FELDS");
    fs::create_directory_symlink(fs::path(TROK_GAME_DIR) / "Objects", dir_ / "Objects");
    fs::copy_file(fs::path(TROK_GAME_DIR) / "FELDS" / "FELD.00", dir_ / "FELDS" / "FELD.00");
    fs::copy_file(fs::path(TROK_GAME_DIR) / "HighScores.dat", dir_ / "HighScores.dat");
    previous_ = fs::current_path();
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(dir_);
  }

  fs::path dir_, previous_;
};

TEST_F(AutoplayRunTest, FinishesTheFirstLevelWithOnePlayerAndWithTwo) {
  for (int players : {1, 2}) {
    AutoplayOptions options;
    options.players = players;
    options.trace = true;
    std::ostringstream trace;
    const AutoplayOutcome outcome = RunAutoplay(options, trace);
    EXPECT_TRUE(outcome.finished) << outcome.summary << '\n' << trace.str();
    EXPECT_EQ(outcome.summary.rfind("finished level 0 with " + std::to_string(players) + " player", 0), 0u)
        << outcome.summary;
    EXPECT_NE(trace.str().find("goal: finish"), std::string::npos) << trace.str();
  }
}

TEST_F(AutoplayRunTest, SaysHowMuchLifeThePlayersLost) {
  // A pig waits in the one corridor to the Finish: it cannot be shot and spends itself
  // on the player, who has no health kit to make up for it. (Row 4 stays open beside
  // the Start, so that the players' start cells meet.)
  MapSketch m;
  m.CloseAllRooms().HWall(4, 6, 18).HWall(6, 1, 18).Set(5, 3, 'S').Set(5, 8, 'p').Set(5, 15, 'E');
  std::string error;
  ASSERT_TRUE(WriteLevelFile((dir_ / "FELDS" / "FELD.00").string(), m.Bytes(), error)) << error;
  AutoplayOptions options;
  std::ostringstream trace;
  const AutoplayOutcome outcome = RunAutoplay(options, trace);
  EXPECT_TRUE(outcome.finished) << outcome.summary;
  EXPECT_NE(outcome.summary.find("(life left 40, deaths 0, damage taken 50)"), std::string::npos) << outcome.summary;
}

TEST_F(AutoplayRunTest, SaysWhyWhenTheLevelCannotBeFinished) {
  // No level 5 here: the title menu refuses it (the game never starts).
  AutoplayOptions options;
  options.level = 5;
  options.maxMinutes = 0.2;
  std::ostringstream trace;
  const AutoplayOutcome outcome = RunAutoplay(options, trace);
  EXPECT_FALSE(outcome.finished);
  EXPECT_EQ(outcome.summary.rfind("did not finish level 5 with 1 player", 0), 0u) << outcome.summary;
}

}  // namespace
