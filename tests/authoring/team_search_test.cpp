#include <gtest/gtest.h>

#include "authoring/level_check.h"
#include "authoring/level_io.h"
#include "route_walker.h"
#include "support/level_sketch.h"
#include "world/cell_codes.h"

namespace {

const char* const TeamCannot =
    "two players together cannot reach the Finish (room exits must let both cross side by side)";

bool HasNote(const CheckReport& r, const std::string& part) {
  for (const auto& n : r.notes)
    if (n.find(part) != std::string::npos) return true;
  return false;
}

LevelBytes StressLevel(const std::string& name) {
  const LevelReadResult read =
      ReadLevelText(std::string(TROK_SOURCE_DIR) + "/tests/authoring/levels/" + name);
  EXPECT_TRUE(read.ok) << read.error;
  return read.bytes;
}

// Thousands of team states: every door order and every pair of crossing cells. The
// verdict must come from trying them all, not from the state limit.
TEST(TeamSearch, ManyDoorsAndWideBordersAreSearchedToTheEnd) {
  LevelBytes bytes = StressLevel("open-borders-many-doors.txt");
  CheckReport r = CheckLevel(bytes);
  EXPECT_TRUE(r.onePlayer.reachable);
  EXPECT_FALSE(r.onePlayer.gaveUp);
  EXPECT_TRUE(r.bothStartsUsable);
  EXPECT_FALSE(r.twoPlayers.reachable);
  EXPECT_FALSE(r.twoPlayers.gaveUp);
  EXPECT_GT(r.twoPlayers.states, 1000);
  EXPECT_EQ(r.errors, std::vector<std::string>{TeamCannot});
  EXPECT_EQ(r.twoPlayers.failure, TeamCannot);

  // Widen the gap into the Finish room and the team gets through.
  bytes[23 * LevelColumns + 51] = bytes[24 * LevelColumns + 51] = Cell::Floor;
  CheckOptions routed;
  routed.wantRoute = true;
  r = CheckLevel(bytes, routed);
  EXPECT_TRUE(r.Ok()) << (r.errors.empty() ? "" : r.errors.front());
  EXPECT_EQ(RouteFault(bytes, r.twoPlayers.path), "");
}

// Every pair of crossing cells overwrites a different pair of walls: thousands of states
// that differ only in which wall cells are gone.
TEST(TeamSearch, CrossingsOntoWallsAreSearchedToTheEnd) {
  const CheckReport r = CheckLevel(StressLevel("walled-far-sides.txt"));
  EXPECT_TRUE(r.onePlayer.reachable);
  EXPECT_FALSE(r.twoPlayers.reachable);
  EXPECT_FALSE(r.twoPlayers.gaveUp);
  EXPECT_GT(r.twoPlayers.states, 1000);
  EXPECT_EQ(r.errors, std::vector<std::string>{TeamCannot});
}

TEST(TeamSearch, PartnersWhoCannotJoinUpDoNotSpoilTheCrossingOfThoseWhoCan) {
  // Room (0,0) opens along its bottom edge onto room (0,1), which a wall splits in two;
  // the Finish is on the left. Crossings with one player on each side fail, crossings
  // with both on the left succeed.
  MapSketch m;
  m.CloseAllRooms().Set(5, 5, 'S').Set(18, 3, 'E');
  m.Put(11, 1, ".........").Put(12, 1, ".........").Put(11, 11, "........").Put(12, 11, "........");
  m.VWall(10, 12, 22);
  const CheckReport r = CheckLevel(m.Bytes());
  EXPECT_TRUE(r.onePlayer.reachable);
  EXPECT_TRUE(r.twoPlayers.reachable);
  EXPECT_TRUE(r.Ok()) << (r.errors.empty() ? "" : r.errors.front());

  // With the left part's exit one cell wide, no pair lands on the left together.
  m.Put(11, 1, "########").Put(12, 1, "########");
  EXPECT_FALSE(CheckLevel(m.Bytes()).twoPlayers.reachable);
}

TEST(TeamSearch, PlayersCrossingOntoWallsBothOverwriteTheirEntryCells) {
  // The far side of the border is wall: each player's entry cell becomes floor, so both
  // stand in room (1,0) and can meet. The key lets them come back for the Finish.
  MapSketch m;
  m.CloseAllRooms().Set(5, 5, 'S').Set(9, 2, 'E').HWall(8, 1, 18).Set(8, 3, '|');
  m.VWall(19, 1, 7, '.').Set(4, 30, 'k');
  const CheckReport r = CheckLevel(m.Bytes());
  EXPECT_TRUE(r.twoPlayers.reachable);
  EXPECT_FALSE(r.twoPlayers.gaveUp);
  EXPECT_TRUE(HasNote(r, "overwrites the wall"));
}

}  // namespace
