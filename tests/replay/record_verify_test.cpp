// Games played through the real program are recorded, and their replays played back
// into a fresh program end exactly as they did: same passes, points and final state.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <iostream>
#include <random>

#include "base/keys.h"
#include "platform/null_audio_door.h"
#include "replay/replay_file.h"
#include "shell/game_directory_fixture.h"
#include "shell/replay_check.h"
#include "shell/replay_shelf.h"

namespace fs = std::filesystem;

namespace {

constexpr std::array<int, 12> PlayerKeys = {VK::Up, VK::Down, VK::Left, VK::Right, VK::Control, VK::Shift,
                                            'T',    'G',      'F',      'H',       'Z',         'A'};

class RecordVerifyTest : public GameDirectoryTest {
 protected:
  void SetUp() override {
    MakeGameDirectory(30);
    StartProgram(std::make_unique<NullAudioDoor>());
    ReachTitleMenu();
  }

  // Random presses and releases of both players' keys from `from` for `ms`.
  void RandomInput(uint32_t seed, uint64_t from, int ms) {
    std::mt19937 rng(seed);
    for (uint64_t t = from; t < from + static_cast<uint64_t>(ms);) {
      const int vk = PlayerKeys[rng() % PlayerKeys.size()];
      const uint64_t hold = 5 + rng() % 400;
      Push(InputEvent::Type::KeyDown, vk, t);
      Push(InputEvent::Type::KeyUp, vk, t + hold);
      t += 1 + rng() % 120;
    }
  }

  // Starts a game of `players` on `level`, plays `ms` of random input and leaves it
  // with Escape and Yes.
  void PlayAndLeave(int level, int players, uint32_t seed, int ms) {
    program->SetLevelLabel(std::to_string(level));
    program->SetPlayersLabel(std::to_string(players));
    const uint64_t start = Now() + 10;
    PushKey(VK::F2, start);
    RandomInput(seed, start + 100, ms);
    const uint64_t leave = start + 200 + static_cast<uint64_t>(ms) + 500;
    PushKey(VK::Escape, leave);
    PushKey('Y', leave + 300);
    RunFor(static_cast<int>(leave + 1000 - Now()));
    // A game over meanwhile leads to the high-score screen: back to the menu.
    for (int i = 0; i < 20 && !program->InTitleMenu(); ++i) {
      AnswerBoxes(Now() + 1, 1);
      PushKey(VK::Escape, Now() + 50);
      RunFor(200);
    }
    ASSERT_TRUE(program->InTitleMenu());
  }

  std::vector<fs::path> Replays() const {
    std::vector<fs::path> files;
    if (fs::exists(dir / ReplayFolderName))
      for (const auto& entry : fs::directory_iterator(dir / ReplayFolderName)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
  }
};

TEST_F(RecordVerifyTest, RandomGamesOfOneAndTwoPlayersVerify) {
  const std::array<std::pair<int, int>, 4> games = {{{0, 1}, {3, 2}, {12, 1}, {25, 2}}};
  uint32_t seed = 1;
  for (const auto& [level, players] : games) {
    PlayAndLeave(level, players, seed++, 20000);
    const Game& game = program->GameState();
    const auto replays = Replays();
    ASSERT_FALSE(replays.empty());
    Replay replay;
    std::string error;
    ASSERT_EQ(ReadReplayFile(replays.back().string(), replay, error), ReplayReadResult::Ok) << error;
    EXPECT_EQ(replay.settings.levelIndex, level);
    EXPECT_EQ(replay.settings.playerCount, players);
    EXPECT_EQ(replay.end.points[0], game.Player1.Points);

    const ReplayCheckOutcome outcome = CheckReplayFile(replays.back().string());
    EXPECT_EQ(outcome.status, 0) << outcome.line;
    std::cerr << outcome.line << " " << replays.back() << " " << fs::file_size(replays.back()) << "\n";
    EXPECT_NE(outcome.line.find("points " + std::to_string(game.Player1.Points) + "/"), std::string::npos)
        << outcome.line;
  }
}

}  // namespace
