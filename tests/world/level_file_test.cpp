// Level files: decoding, where the players start, and damaged files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "play/shots.h"
#include "support/fake_host.h"
#include "play/game.h"
#include "play/level_loading.h"
#include "world/level_file.h"

namespace {

namespace fs = std::filesystem;

class LevelFileTest : public ::testing::Test {
 protected:
  LevelFileTest() : game(host) {
    std::string pattern = (fs::temp_directory_path() / "trok_levels_XXXXXX").string();
    dir = mkdtemp(pattern.data());
    fs::create_directories(dir / "FELDS");
    game.StartDirectory = dir.string() + "/";
  }
  ~LevelFileTest() override { fs::remove_all(dir); }

  // Unscrambled cell bytes of a level; all Floor to begin with.
  static std::vector<uint8_t> EmptyLevel() { return std::vector<uint8_t>(LevelFileSize, 0); }
  // Byte offset of cell (x, y) of the level's room (lrx, lry), 0..2 each.
  static int Offset(int lrx, int lry, int x, int y) {
    return (lry * GridRoomHeight + y) * LevelColumns + lrx * GridRoomWidth + x;
  }

  void WriteRaw(int number, const std::vector<uint8_t>& bytes) {
    std::ofstream out(LevelFileName(game.StartDirectory, number), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  void Write(int number, std::vector<uint8_t> plain) {
    ScrambleLevelBytes(plain.data(), plain.size());
    WriteRaw(number, plain);
  }

  FakeHost host;
  Game game;
  fs::path dir;
};

TEST_F(LevelFileTest, BytesDecodeByTheValueRuleIntoTheMiddleRooms) {
  auto level = EmptyLevel();
  level[Offset(0, 0, 0, 0)] = 77;
  level[Offset(0, 0, 1, 0)] = 78;
  level[Offset(0, 0, 2, 0)] = 100;
  level[Offset(0, 0, 3, 0)] = 200;
  level[Offset(0, 0, 4, 0)] = 255;
  level[Offset(2, 2, 19, 11)] = Cell::Key;
  level[Offset(1, 0, 0, 1)] = Cell::Door;
  level[2160] = 99;  // the unused tail
  Write(3, level);
  ASSERT_EQ(LoadLevel(game, 3), LevelLoad::Loaded);
  const WorldGrid& w = game.World;
  EXPECT_EQ(w.RoomCell(1, 1, 0, 0), 77);
  EXPECT_EQ(w.RoomCell(1, 1, 1, 0), 78);
  EXPECT_EQ(w.RoomCell(1, 1, 2, 0), 78);
  EXPECT_EQ(w.RoomCell(1, 1, 3, 0), -56);
  EXPECT_EQ(w.RoomCell(1, 1, 4, 0), -1);
  EXPECT_EQ(w.RoomCell(3, 3, 19, 11), Cell::Key);
  EXPECT_EQ(w.RoomCell(2, 1, 0, 1), Cell::Door);
  EXPECT_EQ(w.RoomCell(0, 0, 0, 0), Cell::BrickSolidEdge);
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(LevelFileTest, AnAllFloorLevelStartsInTheTopLeftBorderRoom) {
  Write(7, EmptyLevel());
  ASSERT_EQ(LoadLevel(game, 7), LevelLoad::Loaded);
  const WorldGrid& w = game.World;
  EXPECT_EQ(w.StartRoomX, 0);
  EXPECT_EQ(w.StartRoomY, 0);
  EXPECT_EQ(w.RoomCell(0, 0, 2, 5), Cell::Player1);
  EXPECT_EQ(w.RoomCell(0, 0, 4, 5), Cell::Player2);
  EXPECT_EQ(game.Player1.StartX, 2);
  EXPECT_EQ(game.Player1.StartY, 5);
  EXPECT_EQ(game.Player2.StartX, 4);
  EXPECT_EQ(game.Player2.StartY, 5);
  EXPECT_EQ(host.levelTitle, "Level 7");
}

TEST_F(LevelFileTest, TheFirstStartInRoomRowRoomColumnRowColumnOrderWins) {
  auto level = EmptyLevel();
  level[Offset(0, 1, 10, 0)] = Cell::Start;  // a lower room row
  level[Offset(2, 0, 5, 1)] = Cell::Start;   // the right room of the top row
  level[Offset(1, 0, 10, 2)] = Cell::Start;  // the middle room, row 2
  level[Offset(1, 0, 4, 2)] = Cell::Start;   // ... further left: this one
  level[Offset(1, 0, 8, 9)] = Cell::Start;
  level[Offset(1, 0, 3, 2)] = Cell::BrickSolid;  // overwritten by a marker
  Write(0, level);
  ASSERT_EQ(LoadLevel(game, 0), LevelLoad::Loaded);
  const WorldGrid& w = game.World;
  EXPECT_EQ(w.StartRoomX, 2);
  EXPECT_EQ(w.StartRoomY, 1);
  EXPECT_EQ(game.Player1.StartX, 3);
  EXPECT_EQ(game.Player2.StartX, 5);
  EXPECT_EQ(game.Player1.StartY, 2);
  EXPECT_EQ(w.RoomCell(2, 1, 3, 2), Cell::Player1);
  EXPECT_EQ(w.RoomCell(2, 1, 5, 2), Cell::Player2);
  EXPECT_EQ(w.RoomCell(2, 1, 4, 2), Cell::Start);
  // The other Starts stay, without markers.
  EXPECT_EQ(w.RoomCell(3, 1, 5, 1), Cell::Start);
  EXPECT_EQ(w.RoomCell(3, 1, 4, 1), Cell::Floor);
  EXPECT_EQ(host.levelTitle, "Level 0");
}

TEST_F(LevelFileTest, AStartInTheFirstOrLastColumnKeepsBothPlayersInItsRoom) {
  for (int startX : {0, 19}) {
    SCOPED_TRACE(startX);
    auto level = EmptyLevel();
    level[Offset(1, 1, startX, 6)] = Cell::Start;
    // Cells that a marker one column outside the room would hit.
    level[Offset(0, 1, 19, 6)] = Cell::Money;
    level[Offset(2, 1, 0, 6)] = Cell::Money;
    level[Offset(1, 0, 19, 6)] = Cell::Money;
    Write(1, level);
    ASSERT_EQ(LoadLevel(game, 1), LevelLoad::Loaded);
    const WorldGrid& w = game.World;
    EXPECT_EQ(w.RoomCell(1, 2, 19, 6), Cell::Money);
    EXPECT_EQ(w.RoomCell(3, 2, 0, 6), Cell::Money);
    EXPECT_EQ(w.RoomCell(2, 1, 19, 6), Cell::Money);
    for (const PlayerState* p : {&game.Player1, &game.Player2}) {
      EXPECT_GE(p->StartX, 0);
      EXPECT_LT(p->StartX, GridRoomWidth);
      EXPECT_EQ(p->StartY, 6);
    }
    EXPECT_NE(game.Player1.StartX, game.Player2.StartX);
    EXPECT_NE(game.Player1.StartX, startX);
    EXPECT_NE(game.Player2.StartX, startX);
    EXPECT_EQ(w.RoomCell(2, 2, game.Player1.StartX, 6), Cell::Player1);
    EXPECT_EQ(w.RoomCell(2, 2, game.Player2.StartX, 6), Cell::Player2);
    EXPECT_EQ(w.RoomCell(2, 2, startX, 6), Cell::Start);
  }
}

TEST_F(LevelFileTest, WhitespaceBytesInTheFileAreData) {
  // Scrambled bytes that a text reader would skip or translate.
  std::vector<uint8_t> raw(LevelFileSize, 0);
  const uint8_t awkward[] = {' ', '\t', '\n', '\r', 0x0b, 0x0c, 0x1a, 0x00};
  for (int n = 0; n < LevelFileSize; ++n) raw[n] = awkward[n % std::size(awkward)];
  WriteRaw(2, raw);
  ASSERT_EQ(LoadLevel(game, 2), LevelLoad::Loaded);
  auto plain = raw;
  ScrambleLevelBytes(plain.data(), plain.size());
  for (int n = 0; n < LevelCellBytes; ++n) {
    const int r = n / LevelColumns, c = n % LevelColumns;
    const CellCode cell = game.World.RoomCell(1 + c / 20, 1 + r / 12, c % 20, r % 12);
    if (CodeIsPlayer(cell)) continue;  // the markers beside a Start
    ASSERT_EQ(cell, LevelValue(plain[n])) << "offset " << n;
  }
}

TEST_F(LevelFileTest, BytesAfterTheLevelAreIgnored) {
  auto level = EmptyLevel();
  level[Offset(1, 1, 5, 5)] = Cell::Start;
  level[Offset(2, 2, 0, 0)] = Cell::Bomb;
  Write(4, level);
  ASSERT_EQ(LoadLevel(game, 4), LevelLoad::Loaded);
  const auto expected = game.World.Cells;

  auto longer = level;
  longer.push_back(Cell::Key);
  Write(5, longer);
  ASSERT_EQ(LoadLevel(game, 5), LevelLoad::Loaded);
  EXPECT_EQ(game.World.Cells, expected);
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(LevelFileTest, AShortOrMissingFileFailsWithTheGridCleared) {
  WorldGrid cleared;
  auto level = EmptyLevel();
  level[Offset(1, 1, 5, 5)] = Cell::Start;
  level.resize(LevelFileSize - 1);
  Write(6, level);
  game.World.Cells.fill(Cell::Money);
  EXPECT_EQ(LoadLevel(game, 6), LevelLoad::Failed);
  EXPECT_EQ(game.World.Cells, cleared.Cells);
  EXPECT_EQ(game.World.StartRoomX, 0);
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0], LevelLoadError);

  game.World.Cells.fill(Cell::Money);
  EXPECT_EQ(LoadLevel(game, 42), LevelLoad::Failed);
  EXPECT_EQ(game.World.Cells, cleared.Cells);
  EXPECT_EQ(host.errors.size(), 2u);
}

TEST_F(LevelFileTest, LevelsAreCountedUpToTheFirstGap) {
  EXPECT_EQ(LevelFileName("/x/", 7), "/x/FELDS/FELD.07");
  EXPECT_EQ(LevelFileName("/x/", 100), "/x/FELDS/FELD.100");
  for (int n : {0, 1, 2, 4}) Write(n, EmptyLevel());
  int pumps = 0;
  EXPECT_EQ(CountLevels(game.StartDirectory, [&] { ++pumps; }), 3);
  EXPECT_GT(pumps, 0);
}

TEST_F(LevelFileTest, AdvanceLevelWrapsAfterTheLastAndPutsPlayersAtTheStart) {
  auto level = EmptyLevel();
  level[Offset(2, 1, 6, 3)] = Cell::Start;
  Write(0, level);
  game.LevelCount = 2;
  game.LevelIndex = 1;
  game.PlayerCount = 1;
  game.Player1.Warped = true;
  game.Player1.X = 9;
  game.Player2.Dead = true;
  AdvanceLevel(game);
  EXPECT_EQ(game.LevelIndex, 0);
  EXPECT_FALSE(game.Player1.Warped);
  EXPECT_EQ(game.Player1.X, 5);
  EXPECT_EQ(game.Player1.Y, 3);
  EXPECT_EQ(game.Player1.LevelsPassed, 1);
  EXPECT_EQ(game.Player2.LevelsPassed, 0);
  EXPECT_EQ(game.Player2.X, 7);
  EXPECT_EQ(game.World.CurrentRoomX, 3);
  EXPECT_EQ(game.World.CurrentRoomY, 2);
  EXPECT_EQ(host.roomDraws, 1);
}

// A shot still flying when the level changes belongs to the old grid; in the new one it
// would clear whatever stands at its old position, here player 1's marker.
TEST_F(LevelFileTest, AShotInFlightEndsWithTheLevel) {
  auto level = EmptyLevel();
  level[Offset(1, 1, 6, 3)] = Cell::Start;
  Write(0, level);
  game.LevelCount = 1;
  game.PlayerCount = 2;
  game.Player1.PlayerNumber = 1;
  game.Player1.Warped = true;
  PlayerState& p2 = game.Player2;
  p2.PlayerNumber = 2;
  p2.Dead = true;
  p2.ShotActive = true;
  p2.ShotAge = 3;
  p2.ShotDirection = 5;
  p2.ShotX = 5;  // where player 1 will stand
  p2.ShotY = 3;
  AdvanceLevel(game);
  ASSERT_EQ(game.World.At(5, 3), Cell::Player1);
  EXPECT_FALSE(p2.ShotActive);
  host.scriptedDraws = {0, 0, 0};
  ShotsTick(game);
  EXPECT_EQ(game.World.At(5, 3), Cell::Player1);
  EXPECT_EQ(game.World.At(5, 4), Cell::Floor);
}

}  // namespace
