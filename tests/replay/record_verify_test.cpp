// Games played through the real program are recorded, and their replays played back
// into a fresh program end exactly as they did: same passes, points and final state.
// Whatever reaches a game is in its replay: keys with their repeats, boxes answered in
// the middle of it, the display switched, joysticks, warps, a game over and its score
// screen, the program closed in the middle of a pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "authoring/level_text.h"
#include "base/keys.h"
#include "platform/null_audio_door.h"
#include "platform/virtual_joystick.h"
#include "replay/replay_file.h"
#include "screens/options.h"
#include "shell/game_directory_fixture.h"
#include "shell/replay_check.h"
#include "shell/replay_shelf.h"
#include "support/level_sketch.h"

namespace fs = std::filesystem;

namespace {

constexpr std::array<int, 12> PlayerKeys = {VK::Up, VK::Down, VK::Left, VK::Right, VK::Control, VK::Shift,
                                            'T',    'G',      'F',      'H',       'Z',         'A'};

class RecordVerifyTest : public GameDirectoryTest {
 protected:
  void Start(int levels = 30) {
    MakeGameDirectory(levels);
    StartProgram(std::make_unique<NullAudioDoor>());
    ReachTitleMenu();
  }

  // Random presses and releases of both players' keys from `from` for `ms`; a key held
  // long repeats as a keyboard repeats it.
  void RandomInput(uint32_t seed, uint64_t from, int ms) {
    std::mt19937 rng(seed);
    for (uint64_t t = from; t < from + static_cast<uint64_t>(ms);) {
      const int vk = PlayerKeys[rng() % PlayerKeys.size()];
      const uint64_t hold = 5 + rng() % 700;
      Push(InputEvent::Type::KeyDown, vk, t);
      for (uint64_t r = t + 500; r < t + hold; r += 33) {
        InputEvent repeat;
        repeat.type = InputEvent::Type::KeyDown;
        repeat.vk = vk;
        repeat.repeat = true;
        program->Push(repeat, r);
      }
      Push(InputEvent::Type::KeyUp, vk, t + hold);
      t += 1 + rng() % 120;
    }
  }

  // Starts a game of `players` on `level` with F2 at `start`.
  void StartGame(int level, int players, uint64_t start) {
    program->SetLevelLabel(std::to_string(level));
    program->SetPlayersLabel(std::to_string(players));
    PushKey(VK::F2, start);
  }

  // Escape and Yes at `at`, then back to the title menu, whatever came meanwhile (a
  // game over's name entry and high-score screen).
  void LeaveAt(uint64_t at) {
    PushKey(VK::Escape, at);
    PushKey('Y', at + 300);
    RunFor(static_cast<int>(at + 1000 - Now()));
    BackToMenu();
  }

  void BackToMenu() {
    for (int i = 0; i < 40 && !program->InTitleMenu(); ++i) {
      if (!program->OpenBoxes().empty() || program->Visible() != &program->MainWindow())
        PushKey(program->OpenBoxes().empty() ? VK::Escape : VK::Enter, Now() + 20);
      RunFor(150);
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

  Replay Read(const fs::path& file) {
    Replay replay;
    std::string error;
    EXPECT_EQ(ReadReplayFile(file.string(), replay, error), ReplayReadResult::Ok) << error;
    return replay;
  }

  // The newest replay verifies, with the points the game ended with.
  void ExpectLatestVerifies() {
    const auto replays = Replays();
    ASSERT_FALSE(replays.empty());
    const ReplayCheckOutcome outcome = CheckReplayFile(replays.back().string());
    EXPECT_EQ(outcome.status, 0) << outcome.line;
    const Game& game = program->GameState();
    EXPECT_NE(outcome.line.find("points " + std::to_string(game.Player1.Points) + "/" +
                                std::to_string(game.Player2.Points)),
              std::string::npos)
        << outcome.line;
  }

  void WriteLevel(int number, const MapSketch& sketch) {
    const auto scrambled = ScrambleLevel(sketch.Bytes());
    char name[16];
    std::snprintf(name, sizeof name, "FELD.%02d", number);
    std::ofstream(dir / "FELDS" / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(scrambled.data()), static_cast<std::streamsize>(scrambled.size()));
  }
};

TEST_F(RecordVerifyTest, RandomGamesOfOneAndTwoPlayersVerify) {
  Start();
  struct Run {
    int level, players;
    const char* music;
    const char* speed;
  };
  const std::array<Run, 5> runs = {{{0, 1, "On", "16"}, {3, 2, "Off", "16"}, {12, 1, "Off", "7"},
                                    {25, 2, "On", "16"}, {29, 2, "On", "0"}}};
  uint32_t seed = 1;
  for (const Run& run : runs) {
    program->Options().MusicEdit->text = run.music;
    program->Options().GameSpeedEdit->text = run.speed;
    const uint64_t start = Now() + 10;
    StartGame(run.level, run.players, start);
    RandomInput(seed++, start + 100, 15000);
    LeaveAt(start + 15600);
    const Replay replay = Read(Replays().back());
    EXPECT_EQ(replay.settings.levelIndex, run.level);
    EXPECT_EQ(replay.settings.playerCount, run.players);
    EXPECT_EQ(replay.settings.gameSpeed, run.speed);
    EXPECT_EQ(replay.end.how, ReplayEnding::BackToMenu);
    EXPECT_GT(replay.items.size(), 100u);
    ExpectLatestVerifies();
  }
  EXPECT_EQ(Replays().size(), runs.size());
}

TEST_F(RecordVerifyTest, BoxesCapturesAndTheDisplaySwitchInTheMiddleOfAGameVerify) {
  Start(3);
  const uint64_t start = Now() + 10;
  StartGame(1, 2, start);
  RandomInput(7, start + 100, 12000);
  // The abort question answered No, twice, the second time while a key is held.
  PushKey(VK::Escape, start + 2000);
  PushKey('N', start + 2600);
  Push(InputEvent::Type::KeyDown, VK::Right, start + 5990);
  PushKey(VK::Escape, start + 6000);
  PushKey('N', start + 6400);
  Push(InputEvent::Type::KeyUp, VK::Right, start + 6500);
  // Alt+Enter and Print Screen.
  Push(InputEvent::Type::KeyDown, VK::Alt, start + 8000);
  PushKey(VK::Enter, start + 8010);
  Push(InputEvent::Type::KeyUp, VK::Alt, start + 8100);
  PushKey(VK::PrintScreen, start + 9000);
  LeaveAt(start + 12600);
  EXPECT_TRUE(fs::exists(dir / "Capture000.bmp"));
  ExpectLatestVerifies();
}

TEST_F(RecordVerifyTest, AJoystickGameVerifies) {
  MakeGameDirectory(3);
  VirtualJoystick stick("Test Replay Pad");
  ASSERT_TRUE(stick.Attached());
  StartProgram(std::make_unique<NullAudioDoor>());
  ReachTitleMenu();
  const auto& items = program->Options().P1ControlBox->items;
  const auto found = std::find(items.begin(), items.end(), "Test Replay Pad");
  ASSERT_NE(found, items.end());
  program->Options().P1ControlBox->selectedIndex = static_cast<int>(found - items.begin());
  const uint64_t start = Now() + 10;
  StartGame(0, 1, start);
  std::mt19937 rng(3);
  for (uint64_t t = start + 200; t < start + 8000; t += 150 + rng() % 300) {
    const int x = static_cast<int>(rng() % 3) * 1000 - 1000, y = static_cast<int>(rng() % 3) * 1000 - 1000;
    const bool fire = rng() % 4 == 0;
    At(t, [&stick, x, y, fire] {
      stick.SetStick(x, y);
      stick.SetButton(0, fire);
    });
  }
  LeaveAt(start + 8500);
  const Replay replay = Read(Replays().back());
  EXPECT_TRUE(replay.settings.joystickOpened[0]);
  EXPECT_GT(replay.joystick[0].size(), 5u);
  // Played back without the device: the recorded readings stand in for it.
  stick.Detach();
  ExpectLatestVerifies();
}

TEST_F(RecordVerifyTest, AWarpToTheNextLevelAndAGameOverVerify) {
  Start(2);
  // Level 0: the Finish just left of player 1; level 1: a death field there. Player 1
  // stands left of the Start, player 2 right of it.
  MapSketch warp;
  warp.Put(5, 3, "E.S");
  WriteLevel(0, warp);
  MapSketch death;
  death.Put(5, 3, "!.S");
  WriteLevel(1, death);
  const uint64_t start = Now() + 10;
  StartGame(0, 1, start);
  // Held long enough for a step (a player steps every fourth pass).
  auto step = [this](uint64_t at) {
    Push(InputEvent::Type::KeyDown, VK::Left, at);
    Push(InputEvent::Type::KeyUp, VK::Left, at + 150);
  };
  step(start + 300);
  // After the warp (3.8 s) into level 1: left, into the death field; the game is over
  // 3.1 s later, and the high-score screen shows.
  for (uint64_t t = start + 5500; t < start + 7000; t += 300) step(t);
  RunFor(static_cast<int>(start + 13000 - Now()));
  BackToMenu();
  const auto replays = Replays();
  ASSERT_EQ(replays.size(), 1u);
  const std::string name = replays.back().filename().string();
  EXPECT_NE(name.find("_finished"), std::string::npos) << name;
  const Replay replay = Read(replays.back());
  EXPECT_TRUE(replay.end.levelFinished);
  EXPECT_EQ(replay.end.level, 1);
  EXPECT_EQ(replay.levels.size(), 2u);
  EXPECT_TRUE(program->GameState().Player1.Dead);
  ExpectLatestVerifies();
}

TEST_F(RecordVerifyTest, AGameClosedInTheMiddleVerifiesToWhereItStopped) {
  Start(3);
  const uint64_t start = Now() + 10;
  StartGame(2, 2, start);
  RandomInput(11, start + 100, 6000);
  At(start + 4321, [this] { program->Quit(); });
  RunFor(8000);
  program.reset();
  const Replay replay = Read(Replays().back());
  EXPECT_EQ(replay.end.how, ReplayEnding::ProgramClosed);
  EXPECT_GT(replay.end.at.pass, 200u);
  const ReplayCheckOutcome outcome = CheckReplayFile(Replays().back().string());
  EXPECT_EQ(outcome.status, 0) << outcome.line;
  EXPECT_NE(outcome.line.find(std::to_string(replay.end.at.pass) + " passes"), std::string::npos) << outcome.line;
}

// One input event moved to a later pass makes another game: the playback says so at
// the first state check after the event's own pass.
TEST_F(RecordVerifyTest, AMovedEventIsADesyncAtItsPass) {
  Start(3);
  const uint64_t start = Now() + 10;
  StartGame(0, 1, start);
  RandomInput(5, start + 100, 10000);
  LeaveAt(start + 10600);
  const Replay recorded = Read(Replays().back());
  int desyncs = 0;
  for (std::size_t i = 0, tried = 0; i < recorded.items.size() && tried < 8; ++i) {
    const ReplayItem& item = recorded.items[i];
    if (item.kind != ReplayItem::Kind::Input || item.input.type != InputEvent::Type::KeyDown ||
        item.input.repeat || item.at.pass < 70)
      continue;
    ++tried;
    Replay moved = recorded;
    ReplayItem late = item;
    late.at = {item.at.pass + 100, 0};
    moved.items.erase(moved.items.begin() + static_cast<std::ptrdiff_t>(i));
    moved.items.insert(std::upper_bound(moved.items.begin(), moved.items.end(), late,
                                        [](const ReplayItem& a, const ReplayItem& b) { return a.at < b.at; }),
                       late);
    const fs::path file = dir / "moved.trokreplay";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << EncodeReplay(moved);
    const ReplayCheckOutcome outcome = CheckReplayFile(file.string());
    if (outcome.status == 0) continue;  // a key that changed nothing where it was
    ++desyncs;
    EXPECT_EQ(outcome.status, 1) << outcome.line;
    // Found at the first check after the game first differs: not before the event's own
    // pass, and at the latest at the first check after the pass it was moved to.
    auto firstCheckAfter = [](uint32_t pass) { return (pass / ReplayCheckPasses + 1) * ReplayCheckPasses; };
    const std::string prefix = "desync at pass ";
    ASSERT_EQ(outcome.line.rfind(prefix, 0), 0u) << outcome.line;
    const uint32_t found = static_cast<uint32_t>(std::stoul(outcome.line.substr(prefix.size())));
    EXPECT_GE(found, firstCheckAfter(item.at.pass)) << outcome.line << ", the event was at " << item.at.pass;
    EXPECT_LE(found, std::min(firstCheckAfter(late.at.pass), recorded.end.at.pass))
        << outcome.line << ", the event was at " << item.at.pass;
  }
  EXPECT_GT(desyncs, 0);

  // A recorded state that differs at one check is named at exactly that pass.
  ASSERT_GT(recorded.checks.size(), 3u);
  Replay altered = recorded;
  altered.checks[2].hash ^= 1;
  const fs::path file = dir / "altered.trokreplay";
  std::ofstream(file, std::ios::binary | std::ios::trunc) << EncodeReplay(altered);
  const ReplayCheckOutcome outcome = CheckReplayFile(file.string());
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.line.rfind("desync at pass " + std::to_string(recorded.checks[2].pass) + ":", 0), 0u)
      << outcome.line;
}

TEST_F(RecordVerifyTest, AChangedLevelFileOrADamagedReplayIsRefused) {
  Start(3);
  const uint64_t start = Now() + 10;
  StartGame(1, 1, start);
  RandomInput(9, start + 100, 3000);
  LeaveAt(start + 3600);
  const fs::path file = Replays().back();
  std::string bytes;
  {
    std::ifstream in(file, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  // One byte changed anywhere: the file's own checksum says so.
  std::string damaged = bytes;
  damaged[damaged.size() / 2] ^= 0x10;
  std::ofstream(dir / "damaged.trokreplay", std::ios::binary) << damaged;
  ReplayCheckOutcome outcome = CheckReplayFile((dir / "damaged.trokreplay").string());
  EXPECT_EQ(outcome.status, 2);
  EXPECT_NE(outcome.line.find("damaged"), std::string::npos) << outcome.line;

  // The level it was played on is another now.
  MapSketch other;
  other.Put(3, 3, "S");
  WriteLevel(1, other);
  outcome = CheckReplayFile(file.string());
  EXPECT_EQ(outcome.status, 2);
  EXPECT_NE(outcome.line.find("FELD.01"), std::string::npos) << outcome.line;

  outcome = CheckReplayFile((dir / "no such file").string());
  EXPECT_EQ(outcome.status, 2);
  EXPECT_FALSE(outcome.line.empty());
}

}  // namespace

namespace {

// Watching a replay at its speed: Pause holds it, Tab held plays it four times as fast,
// Escape ends it at once; none of these reaches the game.
class WatchReplayTest : public RecordVerifyTest {
 protected:
  // Records a game of 6 s of random play, then plays it back paced with `controls`
  // pushed at the given times after the playback starts; the virtual time it lasted.
  uint64_t Watch(const std::function<void(uint64_t start)>& controls, bool* verified = nullptr) {
    const uint64_t start = Now() + 10;
    StartGame(4, 1, start);
    RandomInput(21, start + 100, 6000);
    LeaveAt(start + 6500);
    const Replay replay = Read(Replays().back());
    const uint64_t from = Now() + 10;
    uint64_t took = 0;
    At(from, [&] {
      const uint64_t began = Now();
      program->PlayBack(replay, true);
      took = Now() - began;
    });
    controls(from);
    RunFor(60000);
    if (verified) *verified = program->LastPlayback() && !program->LastPlayback()->Desync() &&
                              program->LastPlayback()->Finished();
    return took;
  }
};

TEST_F(WatchReplayTest, PauseHoldsItTabHurriesItEscapeEndsIt) {
  Start(5);
  bool verified = false;
  const uint64_t plain = Watch([](uint64_t) {}, &verified);
  EXPECT_TRUE(verified);
  EXPECT_GT(plain, 6000u);
  EXPECT_TRUE(program->InTitleMenu());

  const uint64_t paused = Watch(
      [this](uint64_t from) {
        PushKey(VK::Pause, from + 1000);
        PushKey(VK::Pause, from + 4000);
      },
      &verified);
  EXPECT_TRUE(verified) << "a pause changes nothing of the game";
  EXPECT_NEAR(static_cast<double>(paused), static_cast<double>(plain) + 3000, 200);

  const uint64_t hurried = Watch(
      [this](uint64_t from) {
        Push(InputEvent::Type::KeyDown, VK::Tab, from + 500);
        Push(InputEvent::Type::KeyUp, VK::Tab, from + 100000);
      },
      &verified);
  EXPECT_TRUE(verified);
  EXPECT_LT(hurried, plain / 2);

  const uint64_t ended = Watch([this](uint64_t from) { PushKey(VK::Escape, from + 1500); });
  EXPECT_NEAR(static_cast<double>(ended), 1500, 100);
  EXPECT_TRUE(program->InTitleMenu());
  EXPECT_TRUE(program->OpenBoxes().empty());
}

}  // namespace
