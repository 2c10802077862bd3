// Playing the level being edited: the scratch game directory it plays in, and the real
// program driven through the level as the editor's play mode drives it (headless here).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "base/keys.h"
#include "base/trial_outcome.h"
#include "editor/level_document.h"
#include "editor/scratch_game.h"
#include "platform/null_audio_door.h"
#include "scratch_folder.h"
#include "shell/level_trial.h"
#include "trial_recording.h"
#include "world/cell_codes.h"

namespace {

namespace fs = std::filesystem;

ScratchGameSources Sources(const ScratchFolder& player) {
  return ScratchGameSources{std::string(TROK_GAME_DIR) + "/", player / "Options.dat",
                            std::string(TROK_GAME_DIR) + "/HighScores.dat", player / "Display.dat"};
}

TEST(ScratchGame, HoldsTheLevelLinksTheDataAndCopiesThePlayersFiles) {
  ScratchFolder player;
  WriteFileBytes(player / "Options.dat", "mine\r\n");
  std::string dir, error;
  ASSERT_TRUE(MakeScratchGame(FinishBelowStart(), Sources(player), dir, error)) << error;
  for (const char* folder : {"Objects", "Sounds", "Music", "Pictures"}) {
    EXPECT_TRUE(fs::is_symlink(fs::path(dir) / folder)) << folder;
    EXPECT_TRUE(fs::equivalent(fs::path(dir) / folder, fs::path(TROK_GAME_DIR) / folder)) << folder;
  }
  const auto scrambled = ScrambleLevel(FinishBelowStart());
  EXPECT_EQ(ReadFileBytes(dir + "/FELDS/FELD.00"), std::string(scrambled.begin(), scrambled.end()));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir + "/FELDS"), fs::directory_iterator()), 1);
  EXPECT_EQ(ReadFileBytes(dir + "/Options.dat"), "mine\r\n");
  EXPECT_EQ(ReadFileBytes(dir + "/HighScores.dat"), ReadFileBytes(std::string(TROK_GAME_DIR) + "/HighScores.dat"));
  // What the game writes there stays there; removing it leaves the data alone.
  WriteFileBytes(dir + "/Options.dat", "changed by the game");
  RemoveScratchGame(dir);
  EXPECT_FALSE(fs::exists(dir));
  EXPECT_EQ(ReadFileBytes(player / "Options.dat"), "mine\r\n");
  EXPECT_TRUE(fs::exists(fs::path(TROK_GAME_DIR) / "Objects" / "00-Floor.bmp"));
}

TEST(ScratchGame, ThePlayersWindowChoiceComesAlongUnlessItCannot) {
  ScratchFolder player;
  WriteFileBytes(player / "Display.dat", "window\n");
  std::string dir, error;
  ASSERT_TRUE(MakeScratchGame(FinishBelowStart(), Sources(player), dir, error)) << error;
  EXPECT_EQ(ReadFileBytes(dir + "/Display.dat"), "window\n");
  RemoveScratchGame(dir);
  // A folder under the name is no reason not to play: the trial is full screen.
  fs::remove(player / "Display.dat");
  fs::create_directory(player / "Display.dat");
  ASSERT_TRUE(MakeScratchGame(FinishBelowStart(), Sources(player), dir, error)) << error;
  EXPECT_FALSE(fs::exists(dir + "/Display.dat"));
  RemoveScratchGame(dir);
}

TEST(ScratchGame, WithoutPicturesThereIsNothingToPlay) {
  ScratchFolder player, empty;
  ScratchGameSources sources = Sources(player);
  sources.dataDir = empty.WithSlash();
  std::string dir, error;
  EXPECT_FALSE(MakeScratchGame(FinishBelowStart(), sources, dir, error));
  EXPECT_NE(error.find("pictures"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(dir)) << "nothing is left behind";
  // No Options.dat of the player's: the game starts with its defaults.
  sources = Sources(player);
  ASSERT_TRUE(MakeScratchGame(FinishBelowStart(), sources, dir, error)) << error;
  EXPECT_FALSE(fs::exists(dir + "/Options.dat"));
  RemoveScratchGame(dir);
}

class LevelTrialTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(MakeScratchGame(FinishBelowStart(), Sources(player_), dir_, error)) << error;
    previous_ = fs::current_path();
    fs::current_path(dir_);
    program = std::make_unique<Program>(clock, true, std::make_unique<NullAudioDoor>());
    ASSERT_TRUE(program->Init(error)) << error;
  }
  void TearDown() override {
    program.reset();
    fs::current_path(previous_);
    RemoveScratchGame(dir_);
  }
  // The game runs inside the key handler that started it, so the trial is watched from
  // timers: `at` runs once at a virtual time; the run ends with the program, or is
  // ended after `limitMs`.
  void At(uint64_t atMs, std::function<void()> action) {
    Timer& t = program->app.CreateTimer();
    t.onTimer = [&t, action = std::move(action)] {
      t.SetInterval(0);
      action();
    };
    t.SetInterval(static_cast<int>(atMs - clock.NowMs()));
  }
  void RunToEnd(uint64_t limitMs) {
    At(limitMs, [this] {
      timedOut = true;
      program->app.Terminate();
    });
    program->app.Run();
  }
  void Push(InputEvent::Type type, int vk, uint64_t at) {
    InputEvent e;
    e.type = type;
    e.vk = vk;
    program->app.PushInput(e, at);
  }

  bool timedOut = false;
  VirtualClock clock;
  std::unique_ptr<Program> program;

 private:
  ScratchFolder player_;
  std::string dir_;
  fs::path previous_;
};

TEST_F(LevelTrialTest, PlaysLevelZeroAndEndsWhenItIsFinished) {
  LevelTrial trial(*program, 1);
  bool inGame = false, twoPlayers = true;
  At(1500, [&] {
    inGame = program->mainForm->InGame();
    twoPlayers = program->session->game.TwoPlayers();
  });
  Push(InputEvent::Type::KeyDown, VK::Down, 1600);
  Push(InputEvent::Type::KeyUp, VK::Down, 1750);
  RunToEnd(20000);
  EXPECT_FALSE(timedOut);
  EXPECT_TRUE(inGame);
  EXPECT_FALSE(twoPlayers);
  EXPECT_TRUE(trial.Finished());
  EXPECT_GE(trial.Seconds(), 3) << "the warp takes 3.8 seconds";
  EXPECT_LE(trial.Seconds(), 6);
}

TEST_F(LevelTrialTest, TwoPlayersAndAnAbandonedGameEndTheTrialUnfinished) {
  LevelTrial trial(*program, 2);
  bool inGame = false, twoPlayers = false;
  At(1500, [&] {
    inGame = program->mainForm->InGame();
    twoPlayers = program->session->game.TwoPlayers();
  });
  // Escape asks; Enter answers Yes: back to the title menu, and the trial ends.
  Push(InputEvent::Type::KeyDown, VK::Escape, 1600);
  Push(InputEvent::Type::KeyUp, VK::Escape, 1620);
  Push(InputEvent::Type::KeyDown, VK::Enter, 1800);
  Push(InputEvent::Type::KeyUp, VK::Enter, 1820);
  RunToEnd(20000);
  EXPECT_FALSE(timedOut);
  EXPECT_TRUE(inGame);
  EXPECT_TRUE(twoPlayers);
  EXPECT_FALSE(trial.Finished());
  WriteTrialOutcome("", TrialOutcome{trial.Finished(), trial.Seconds()});
  EXPECT_FALSE(ReadTrialOutcome("").finished);
}

TEST(TrialOutcome, ReadsWhatWasWrittenAndNothingElse) {
  ScratchFolder dir;
  EXPECT_FALSE(ReadTrialOutcome(dir.WithSlash()).finished);
  ASSERT_TRUE(WriteTrialOutcome(dir.WithSlash(), TrialOutcome{true, 75}));
  const TrialOutcome back = ReadTrialOutcome(dir.WithSlash());
  EXPECT_TRUE(back.finished);
  EXPECT_EQ(back.seconds, 75);
  WriteFileBytes(dir / TrialOutcomeFile, "finished");
  EXPECT_FALSE(ReadTrialOutcome(dir.WithSlash()).finished);
  WriteFileBytes(dir / TrialOutcomeFile, "won 3");
  EXPECT_FALSE(ReadTrialOutcome(dir.WithSlash()).finished);
}

}  // namespace
