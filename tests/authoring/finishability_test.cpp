#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <map>
#include <random>

#include "authoring/level_check.h"
#include "authoring/level_io.h"
#include "route_walker.h"
#include "support/level_sketch.h"
#include "world/cell_codes.h"

namespace fs = std::filesystem;

namespace {

// Room (0,0) split by a wall in column 10; Start at row 5 column 5 (players at
// columns 4 and 6); the Finish on the far side of the wall.
MapSketch SplitRoom() {
  MapSketch m;
  m.CloseAllRooms().VWall(10, 1, 10).Set(5, 5, 'S').Set(5, 15, 'E');
  return m;
}

// Room (0,0) to room (1,0) through a door, a slide and a two-wide exit, with the key
// behind the start.
MapSketch DoorSlideAndCrossing() {
  MapSketch m = SplitRoom();
  m.Set(5, 15, '.').Set(3, 10, '|').Set(9, 2, 'k');
  m.Set(7, 10, '>').Set(7, 11, '>');
  m.Put(4, 19, "..").Put(5, 19, "..").Set(6, 30, 'E');
  return m;
}

TEST(Finishability, RouteIsAWalkableWayFromTheStartToTheFinish) {
  for (bool viaDoor : {false, true}) {
    MapSketch m = DoorSlideAndCrossing();
    if (viaDoor) m.Set(7, 10, '#');  // only the door is left
    const LevelBytes bytes = m.Bytes();
    const LevelFinishability f = CheckFinishability(bytes);
    ASSERT_TRUE(f.onePlayer.finishable) << f.onePlayer.reason;
    ASSERT_TRUE(f.twoPlayers.finishable) << f.twoPlayers.reason;
    EXPECT_EQ(RouteFault(bytes, f.onePlayer.route), "") << viaDoor;
    EXPECT_EQ(RouteFault(bytes, f.twoPlayers.route), "") << viaDoor;
    EXPECT_TRUE(f.onePlayer.reason.empty());
    EXPECT_EQ(f.onePlayer.route.front(), (RouteCell{0, 0, 4, 5, RouteStep::Start}));
    EXPECT_EQ(f.onePlayer.route.back(), (RouteCell{1, 0, 10, 6, RouteStep::Finish}));
    bool crossed = false, slid = false, opened = false;
    for (const RouteCell& c : f.onePlayer.route) {
      crossed |= c.step == RouteStep::Cross;
      slid |= c.step == RouteStep::Slide;
      opened |= c.step == RouteStep::Door;
    }
    EXPECT_TRUE(crossed);
    EXPECT_EQ(opened, viaDoor);
    EXPECT_EQ(slid, !viaDoor);
  }
}

TEST(Finishability, EveryShippedLevelHasWalkableRoutesForOneAndForTwo) {
  for (const auto& e : fs::directory_iterator(fs::path(TROK_SOURCE_DIR) / "levels")) {
    if (e.path().extension() != ".txt") continue;
    const LevelReadResult read = ReadLevelText(e.path().string());
    ASSERT_TRUE(read.ok) << read.error;
    const LevelFinishability f = CheckFinishability(read.bytes);
    EXPECT_EQ(RouteFault(read.bytes, f.onePlayer.route), "") << e.path();
    EXPECT_EQ(RouteFault(read.bytes, f.twoPlayers.route), "") << e.path();
  }
}

TEST(Finishability, TwoPlayersGoRoundWhereOnlyOneCouldSlipThrough) {
  // Room (1,0) holds the Finish. The short way is one cell wide; the long way runs down
  // through rooms (0,1) and (1,1), two cells wide all along.
  MapSketch m;
  m.CloseAllRooms().Set(5, 5, 'S').Set(5, 30, 'E').Put(5, 19, "..");
  const LevelFinishability narrow = CheckFinishability(m.Bytes());
  EXPECT_TRUE(narrow.onePlayer.finishable);
  EXPECT_FALSE(narrow.twoPlayers.finishable);
  EXPECT_TRUE(narrow.twoPlayers.route.empty());
  EXPECT_EQ(narrow.twoPlayers.reason,
            "two players together cannot reach the Finish (room exits must let both cross "
            "side by side)");

  m.Put(11, 8, "..").Put(12, 8, "..").Put(16, 19, "..").Put(17, 19, "..");
  m.Put(11, 28, "..").Put(12, 28, "..");
  const LevelBytes bytes = m.Bytes();
  const LevelFinishability f = CheckFinishability(bytes);
  ASSERT_TRUE(f.twoPlayers.finishable) << f.twoPlayers.reason;
  EXPECT_EQ(RouteFault(bytes, f.twoPlayers.route), "");
  int crossings = 0;
  for (std::size_t k = 1; k < f.twoPlayers.route.size(); ++k) {
    const RouteCell& from = f.twoPlayers.route[k - 1];
    const RouteCell& to = f.twoPlayers.route[k];
    if (to.step != RouteStep::Cross) continue;
    ++crossings;
    EXPECT_FALSE(from.roomY == 0 && to.roomY == 0) << "squeezed through at " << Describe(to);
  }
  EXPECT_GE(crossings, 3);
}

TEST(Finishability, GivesTheFirstReasonForEachMode) {
  std::map<std::string, MapSketch> levels;
  levels["no start"] = MapSketch().Set(5, 30, 'E');
  levels["start at a room's edge"] = MapSketch().Set(5, 20, 'S').Set(5, 30, 'E');
  levels["wall in the way"] = SplitRoom();
  levels["start cells apart"] = MapSketch().CloseAllRooms().VWall(5, 1, 10).Set(5, 5, 'S').Set(8, 2, 'E');
  const std::map<std::string, std::pair<std::string, std::string>> expected = {
      {"no start", {"no Start ('S') in the level", "no Start ('S') in the level"}},
      {"start at a room's edge",
       {"the Start at row 5 col 20 (room 1,0) is in column 0 of its room; the players start "
        "left and right of it, so it must be in columns 1..18",
        "the Start at row 5 col 20 (room 1,0) is in column 0 of its room; the players start "
        "left and right of it, so it must be in columns 1..18"}},
      {"wall in the way",
       {"one player cannot reach the Finish",
        "two players together cannot reach the Finish (room exits must let both cross side by "
        "side)"}},
      {"start cells apart", {"", "player 2's start cell is cut off from player 1's"}},
  };
  for (const auto& [name, sketch] : levels) {
    const LevelFinishability f = CheckFinishability(sketch.Bytes());
    const auto& [one, two] = expected.at(name);
    EXPECT_EQ(f.onePlayer.reason, one) << name;
    EXPECT_EQ(f.onePlayer.finishable, one.empty()) << name;
    EXPECT_EQ(f.twoPlayers.reason, two) << name;
    EXPECT_FALSE(f.twoPlayers.finishable) << name;
    EXPECT_EQ(f.onePlayer.route.empty(), !one.empty()) << name;
  }
  // The reasons are the report's own errors.
  const CheckReport r = CheckLevel(levels.at("start cells apart").Bytes());
  ASSERT_FALSE(r.errors.empty());
  EXPECT_EQ(r.errors.front(), r.twoPlayers.failure);
}

TEST(Finishability, ASearchCutShortSaysSo) {
  // The Finish lies behind two doors in a row: the third state is the first beside it.
  MapSketch m;
  m.CloseAllRooms().Set(2, 5, 'S').Set(3, 2, 'k').Set(4, 2, 'k');
  m.HWall(7, 11, 18).HWall(9, 11, 18).VWall(11, 7, 10).Set(7, 14, '|').Set(9, 14, '|');
  m.Set(10, 14, 'E');
  EXPECT_TRUE(CheckFinishability(m.Bytes(), 3).onePlayer.finishable);
  const LevelFinishability f = CheckFinishability(m.Bytes(), 2);
  EXPECT_FALSE(f.onePlayer.finishable);
  EXPECT_EQ(f.onePlayer.reason, "one player: gave up after 2 search states");
  EXPECT_TRUE(f.onePlayer.route.empty());
}

// Whatever a level file holds, each mode gets a verdict, and a route that can be walked.
TEST(Finishability, RandomLevelsGetAVerdictAndAWalkableRoute) {
  std::mt19937 rng(7);
  const uint8_t common[] = {0,  0,  0,  0,  0,  0,  0,  0,  1,  1,  1,  2,  8,  15, 16, 18,
                            19, 19, 20, 20, 22, 24, 32, 38, 39, 48, 49, 50, 51, 52, 57, 80};
  int finishable = 0;
  for (int n = 0; n < 30; ++n) {
    LevelBytes bytes{};
    for (int i = 0; i < LevelFileSize; ++i)
      bytes[i] = rng() % 8 == 0 ? static_cast<uint8_t>(rng()) : common[rng() % std::size(common)];
    const int at = static_cast<int>(rng() % LevelRows) * LevelColumns +
                   static_cast<int>(rng() % 3) * 20 + 1 + static_cast<int>(rng() % 18);
    bytes[at] = Cell::Start;
    bytes[at - 1] = bytes[at + 1] = Cell::Floor;
    const LevelFinishability f = CheckFinishability(bytes, 300);
    for (const Finishability* mode : {&f.onePlayer, &f.twoPlayers}) {
      if (mode->finishable) {
        ++finishable;
        EXPECT_EQ(RouteFault(bytes, mode->route), "") << "level " << n;
      } else {
        EXPECT_FALSE(mode->reason.empty()) << "level " << n;
      }
    }
  }
  EXPECT_GT(finishable, 5);
}

}  // namespace
