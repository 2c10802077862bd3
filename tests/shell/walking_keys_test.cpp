// Walking and firing keys through the real program, pressed at chosen moments of the
// players' step cycle: a tap shorter than a step counts once, a held key walks as it
// always did, and a game of taps plays back from its replay.
#include <cstdint>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <utility>
#include <vector>

#include "base/keys.h"
#include "platform/null_audio_door.h"
#include "replay/replay_file.h"
#include "shell/game_directory_fixture.h"
#include "shell/replay_check.h"
#include "world/level_file.h"

namespace fs = std::filesystem;

namespace {

constexpr int StartRow = 5, StartColumn = 22;  // player 1 stands one column to its left

struct MapCell {
  int row, column;
  CellCode code;
};

// One press of `keys` together, `offset` world ticks after a player step (0: the
// step's tick has just run), held `holdMs`.
struct Press {
  std::vector<int> keys;
  int offset;
  int holdMs;
};

struct Moved {
  int dx = 0, dy = 0;
};

class WalkingKeysTest : public GameDirectoryTest {
 protected:
  // A level walled round its outside, open inside, with the Start and `cells`; the
  // game on it starts with the next Play.
  void MakeLevel(const std::vector<MapCell>& cells) {
    MakeGameDirectory(0);
    std::vector<uint8_t> bytes(LevelFileSize, 0);
    auto at = [&](int row, int column) -> uint8_t& { return bytes[row * LevelColumns + column]; };
    for (int r = 0; r < LevelRows; ++r)
      for (int c = 0; c < LevelColumns; ++c)
        if (r == 0 || c == 0 || r == LevelRows - 1 || c == LevelColumns - 1) at(r, c) = Cell::BrickSolid;
    at(StartRow, StartColumn) = Cell::Start;
    for (const MapCell& m : cells) at(m.row, m.column) = static_cast<uint8_t>(m.code);
    ScrambleLevelBytes(bytes.data(), bytes.size());
    std::ofstream(dir / "FELDS" / "FELD.00", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    StartProgram(std::make_unique<NullAudioDoor>());
    ReachTitleMenu();
  }

  PlayerState& P1() { return program->GameState().Player1; }
  // Player 1's place on the whole map.
  int MapX() { return (program->GameState().World.CurrentRoomX - 1) * GridRoomWidth + P1().X; }
  int MapY() { return (program->GameState().World.CurrentRoomY - 1) * GridRoomHeight + P1().Y; }

  // Plays a game of the presses, one after another, each `gapMs` after the one before
  // was let go (a negative hold keeps the keys down); `atEnd` sees the game before it
  // is left. Returns how far player 1 moved from each press to the next.
  std::vector<Moved> Play(const std::vector<Press>& presses, std::function<void()> atEnd = {}, int gapMs = 250) {
    struct Script {
      std::size_t next = 0;
      bool holding = false;
      uint64_t readyAt = 0;
      int fromX = 0, fromY = 0;
      std::vector<Moved> moved;
    };
    auto script = std::make_shared<Script>();
    script->readyAt = Now() + 300;
    PushKey(VK::F2, Now() + 5);
    Timer& timer = program->CreateTimer();
    timer.onTimer = [this, &timer, script, presses, atEnd, gapMs] {
      Script& s = *script;
      const uint64_t now = Now();
      if (now < s.readyAt || !program->InGame()) return;
      if (s.holding) {
        s.moved.push_back({MapX() - s.fromX, MapY() - s.fromY});
        s.holding = false;
        if (++s.next < presses.size()) return;
        timer.SetInterval(0);
        if (atEnd) atEnd();
        PushKey(VK::Escape, now + 5);
        PushKey('Y', now + 200);
        return;
      }
      // The clock names the tick that runs next: one past a step, the step has just run.
      const Press& p = presses[s.next];
      if (program->GameState().Clock.c0 % 4 != (1 + p.offset) % 4) return;
      s.fromX = MapX();
      s.fromY = MapY();
      for (int vk : p.keys) Push(InputEvent::Type::KeyDown, vk, now);
      if (p.holdMs >= 0)
        for (int vk : p.keys) Push(InputEvent::Type::KeyUp, vk, now + static_cast<uint64_t>(p.holdMs));
      s.holding = true;
      s.readyAt = now + static_cast<uint64_t>(std::max(p.holdMs, 0) + gapMs);
    };
    timer.SetInterval(1);
    // The game runs inside this until it is left.
    RunFor(1000);
    EXPECT_TRUE(program->InTitleMenu());
    EXPECT_EQ(script->moved.size(), presses.size());
    return script->moved;
  }
};

TEST_F(WalkingKeysTest, ATapShorterThanAStepMovesExactlyOneCellWheneverItComes) {
  MakeLevel({});
  std::vector<Press> taps;
  bool left = true;
  for (int holdMs : {5, 20, 40})
    for (int offset = 0; offset < 4; ++offset, left = !left)
      taps.push_back({{left ? VK::Left : VK::Right}, offset, holdMs});
  const std::vector<Moved> moved = Play(taps);
  for (std::size_t i = 0; i < moved.size(); ++i) {
    EXPECT_EQ(moved[i].dx, i % 2 == 0 ? -1 : 1)
        << "tap of " << taps[i].holdMs << " ms, " << taps[i].offset << " ticks after a step";
    EXPECT_EQ(moved[i].dy, 0);
  }
}

TEST_F(WalkingKeysTest, TwoShortTapsAtARoomEdgeCrossIt) {
  MakeLevel({});
  int room = 0, x = 0, mapX = 0;
  // Both let go before the next step comes.
  const std::vector<Moved> moved = Play({{{VK::Left}, 0, 50}, {{VK::Left}, 0, 50}}, [&] {
    room = program->GameState().World.CurrentRoomX;
    x = P1().X;
    mapX = MapX();
  });
  for (const Moved& m : moved) EXPECT_EQ(m.dx, -1);
  EXPECT_EQ(room, 1 + (StartColumn - 3) / GridRoomWidth);
  EXPECT_EQ(x, GridRoomWidth - 1);
  EXPECT_EQ(mapX, StartColumn - 3);
}

TEST_F(WalkingKeysTest, HeldKeysWalkAsTheyAlwaysDid) {
  MakeLevel({});
  // A second's hold from each moment between two steps, then two keys held together
  // for 300 ms; the counts are those of the game before a tap counted.
  const std::vector<Moved> moved =
      Play({{{VK::Left}, 0, 1000}, {{VK::Right}, 1, 1000}, {{VK::Left}, 2, 1000}, {{VK::Right}, 3, 1000},
            {{VK::Down, VK::Left}, 0, 300}, {{VK::Up, VK::Right}, 1, 300}, {{VK::Down, VK::Left}, 2, 300},
            {{VK::Up, VK::Right}, 3, 300}});
  // The keys go up one pump call apart: a step may come between them and walk along
  // the one still held.
  const std::vector<std::pair<int, int>> expected = {{-15, 0}, {15, 0}, {-16, 0}, {16, 0},
                                                     {-4, 3},  {4, -3}, {-5, 4},  {5, -4}};
  ASSERT_EQ(moved.size(), expected.size());
  for (std::size_t i = 0; i < moved.size(); ++i) {
    EXPECT_EQ(moved[i].dx, expected[i].first) << i;
    EXPECT_EQ(moved[i].dy, expected[i].second) << i;
  }
}

TEST_F(WalkingKeysTest, AFireTapShootsAsAHeldFireKeyWouldOnThatStep) {
  // Shootable bricks below player 1, walled in so that they stand: held down, it
  // stands on the first; each shot clears one, and the next step walks into the gap.
  std::vector<MapCell> cells;
  for (int row = StartRow + 1; row <= StartRow + 5; ++row) {
    cells.push_back({row, StartColumn - 1, Cell::BrickShootable});
    cells.push_back({row, StartColumn - 2, Cell::BrickSolid});
    cells.push_back({row, StartColumn, Cell::BrickSolid});
  }
  MakeLevel(cells);
  std::vector<Press> presses = {{{VK::Down}, 0, -1}};
  for (int offset = 0; offset < 4; ++offset) presses.push_back({{VK::Control}, offset, 5});
  int bricksLeft = 0;
  const std::vector<Moved> moved = Play(presses, [&] {
    const WorldGrid& world = program->GameState().World;
    for (int y = 0; y < GridRoomHeight; ++y)
      bricksLeft += world.At((StartColumn - 1) % GridRoomWidth, y) == Cell::BrickShootable;
  });
  EXPECT_EQ(bricksLeft, 1);
  for (std::size_t i = 0; i < moved.size(); ++i) EXPECT_EQ(moved[i].dy, i == 0 ? 0 : 1) << i;
}

TEST_F(WalkingKeysTest, DirectionsChosenInTheItemMenuWalkNowhere) {
  MakeLevel({});
  bool menuOpen = true;
  int choice = 0;
  // The menu opens when its key is let go; left chooses BOMB, fire closes the menu.
  const std::vector<Moved> moved = Play({{{VK::Shift}, 0, 20}, {{VK::Left}, 1, 5}, {{VK::Control}, 2, 5}}, [&] {
    menuOpen = P1().MenuOpen;
    choice = P1().MenuChoice;
  });
  for (const Moved& m : moved) EXPECT_EQ(m.dx, 0);
  EXPECT_FALSE(menuOpen);
  EXPECT_EQ(choice, MenuBomb);
}

TEST_F(WalkingKeysTest, AGameOfTapsPlaysBackFromItsReplay) {
  MakeLevel({});
  std::vector<Press> taps;
  for (int offset = 0; offset < 4; ++offset) taps.push_back({{offset % 2 ? VK::Right : VK::Left}, offset, 5});
  Play(taps, {}, 100);
  std::vector<fs::path> replays;
  for (const auto& entry : fs::directory_iterator(dir / ReplayFolderName)) replays.push_back(entry.path());
  ASSERT_EQ(replays.size(), 1u);
  const ReplayCheckOutcome outcome = CheckReplayFile(replays[0].string());
  EXPECT_EQ(outcome.status, 0) << outcome.line;
}

}  // namespace
