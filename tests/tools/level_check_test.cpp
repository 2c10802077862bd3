#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "authoring/level_check.h"
#include "authoring/level_io.h"
#include "support/level_sketch.h"

namespace {

// Room (0,0) split by a wall in column 10; Start at row 5 column 5 (players at
// columns 4 and 6); the Finish on the far side of the wall.
MapSketch SplitRoom() {
  MapSketch m;
  m.CloseAllRooms().VWall(10, 1, 10).Set(5, 5, 'S').Set(5, 15, 'E');
  return m;
}

CheckReport Check(const MapSketch& m) { return CheckLevel(m.Bytes()); }

bool HasMessage(const std::vector<std::string>& list, const std::string& part) {
  return std::any_of(list.begin(), list.end(),
                     [&](const std::string& s) { return s.find(part) != std::string::npos; });
}

TEST(LevelCheck, OpenRoomIsReachableByOneAndTwoPlayers) {
  MapSketch m = SplitRoom();
  m.Set(5, 10, '.').Set(6, 10, '.');
  const CheckReport r = Check(m);
  EXPECT_TRUE(r.Ok()) << (r.errors.empty() ? "" : r.errors[0]);
  EXPECT_TRUE(r.bothStartsUsable);
  EXPECT_NE(r.startInfo.find("both start cells usable"), std::string::npos);
}

TEST(LevelCheck, WallInTheWayMakesTheFinishUnreachable) {
  const CheckReport r = Check(SplitRoom());
  EXPECT_FALSE(r.onePlayer.reachable);
  EXPECT_FALSE(r.twoPlayers.reachable);
  EXPECT_FALSE(r.onePlayer.gaveUp);
  EXPECT_TRUE(HasMessage(r.errors, "one player cannot reach the Finish"));
}

TEST(LevelCheck, DoorNeedsAKeyThatCanBeCollectedBeforeIt) {
  MapSketch behind = SplitRoom();
  behind.Set(5, 10, '|').Set(8, 15, 'k');
  EXPECT_FALSE(Check(behind).onePlayer.reachable);

  MapSketch before = SplitRoom();
  before.Set(5, 10, '|').Set(8, 3, 'k');
  const CheckReport r = Check(before);
  EXPECT_TRUE(r.onePlayer.reachable);
  EXPECT_TRUE(r.twoPlayers.reachable);
}

TEST(LevelCheck, AKeyIsUsedUpByTheDoorItOpens) {
  // Two doors in a row and one key: the second stays shut.
  MapSketch m = SplitRoom();
  m.VWall(13, 1, 10).Set(5, 10, '|').Set(5, 13, '|').Set(8, 3, 'k');
  EXPECT_FALSE(Check(m).onePlayer.reachable);
  // A second key between the doors opens the second one.
  m.Set(8, 11, 'k');
  EXPECT_TRUE(Check(m).onePlayer.reachable);
}

TEST(LevelCheck, TheSearchSpendsTheOnlyKeyOnTheRightDoor) {
  // A door into an empty pocket above, a door to the Finish to the right, one key.
  MapSketch m = SplitRoom();
  m.HWall(3, 1, 9).Set(3, 5, '|').Set(5, 10, '|').Set(8, 3, 'k');
  const CheckReport r = Check(m);
  EXPECT_TRUE(r.onePlayer.reachable);
  EXPECT_TRUE(r.twoPlayers.reachable);
}

TEST(LevelCheck, OneWaySlideOnlyLeadsOneWay) {
  MapSketch forward = SplitRoom();
  forward.Set(5, 10, '>').Set(6, 10, '>');
  EXPECT_TRUE(Check(forward).onePlayer.reachable);

  // Walking from the right onto a slide that points back right goes nowhere.
  MapSketch backward = SplitRoom();
  backward.Set(5, 10, '<').Set(6, 10, '<');
  const CheckReport r = Check(backward);
  EXPECT_FALSE(r.onePlayer.reachable);

  // The slide that only leads away: out to the right, and the Finish back on the left.
  MapSketch away;
  away.CloseAllRooms().VWall(10, 1, 10).Set(5, 10, '>').Set(5, 15, 'S').Set(8, 3, 'E');
  EXPECT_FALSE(Check(away).onePlayer.reachable);
}

TEST(LevelCheck, SlideRunsThroughSeveralFieldsAndTurns) {
  // Down slides in column 10 carry the player from row 2 to row 9, then a right slide
  // through the wall column 11.
  MapSketch m;
  m.CloseAllRooms().VWall(11, 1, 10).Set(5, 5, 'S').Set(9, 15, 'E');
  for (int row = 2; row <= 8; ++row) m.Set(row, 10, 'v');
  m.Set(9, 10, '>').Set(9, 11, '>');
  m.Set(10, 10, '#');  // keeps the player from walking round the run's foot
  EXPECT_TRUE(Check(m).onePlayer.reachable);

  // A slide that ends on a wall is refused.
  m.Set(9, 12, '#');
  EXPECT_FALSE(Check(m).onePlayer.reachable);
}

TEST(LevelCheck, OmniSlideKeepsADiagonalDirection) {
  // Wall column 10 with an omni field; the cell after it diagonally is open.
  MapSketch m = SplitRoom();
  m.Set(5, 10, 'o');
  m.Set(4, 9, '.');
  // Straight right from (5,9) crosses to (5,11); entering from (4,9) moving down-right
  // goes on to (6,11). Both are fine; block straight and keep only the diagonal exit.
  m.Set(5, 11, '#');
  EXPECT_TRUE(Check(m).onePlayer.reachable);
  m.Set(6, 11, '#');
  m.Set(4, 11, '#');
  EXPECT_FALSE(Check(m).onePlayer.reachable);
}

TEST(LevelCheck, SlidesNeverCarryAPlayerOutOfTheRoom) {
  // Room (0,0) closed; its right edge has one slide pointing into room (1,0).
  MapSketch m;
  m.CloseAllRooms().Set(5, 5, 'S').Set(5, 30, 'E').Set(5, 19, '>').Set(5, 20, '.');
  EXPECT_FALSE(Check(m).onePlayer.reachable);
  // Walking there instead crosses into the next room.
  m.Set(5, 19, '.');
  EXPECT_TRUE(Check(m).onePlayer.reachable);
}

TEST(LevelCheck, ClosedSlideCircuitCannotBeEntered) {
  MapSketch m = SplitRoom();
  m.Set(5, 10, '>').Set(5, 11, '<').Set(5, 12, '#');
  m.Set(6, 10, '#');
  EXPECT_FALSE(Check(m).onePlayer.reachable);
}

TEST(LevelCheck, ShootableWallOpensAPath) {
  MapSketch m = SplitRoom();
  m.VWall(10, 1, 10, 'x');
  const CheckReport r = Check(m);
  EXPECT_TRUE(r.onePlayer.reachable);
  EXPECT_TRUE(r.twoPlayers.reachable);
  EXPECT_FALSE(HasMessage(r.notes, "crumbles"));
}

TEST(LevelCheck, ShootableWallOutOfLineOfEveryStandingCellStays) {
  // The Finish sits in a walled box whose only soft cell touches nothing but walls.
  MapSketch m;
  m.CloseAllRooms().Set(5, 5, 'S');
  for (int r = 3; r <= 7; ++r) m.HWall(r, 12, 17);
  m.Set(5, 16, 'E').Set(5, 15, 'x');
  EXPECT_FALSE(Check(m).onePlayer.reachable);
  // With a free line to it (row 5 from the left) it can be shot.
  m.Set(5, 12, '.').Set(5, 13, '.').Set(5, 14, '.');
  EXPECT_TRUE(Check(m).onePlayer.reachable);
  // An item in that line stops the shot until it is collected, and it can be.
  m.Set(5, 13, '$');
  EXPECT_TRUE(Check(m).onePlayer.reachable);
}

TEST(LevelCheck, LoneShootableWallIsNotedAsCrumbling) {
  MapSketch m = SplitRoom();
  m.Set(5, 10, '.').Set(6, 10, '.').Set(8, 4, 'x');
  EXPECT_TRUE(HasMessage(Check(m).notes, "crumbles"));
}

TEST(LevelCheck, CreaturesAndProducersCanBeShotPigsRunIntoThePlayer) {
  for (char c : std::string("adcgfhADCFRHV*")) {
    MapSketch m = SplitRoom();
    m.Set(5, 10, c).Set(6, 10, '#');
    EXPECT_TRUE(Check(m).onePlayer.reachable) << c;
  }
  MapSketch pig = SplitRoom();
  pig.Set(5, 10, 'p');
  EXPECT_TRUE(Check(pig).onePlayer.reachable);
  // Things that stay: fire-dart producers, adult pig producers, enemy-passable walls,
  // and growing pig producers are not counted on.
  for (char c : std::string("T9:5L")) {
    MapSketch m = SplitRoom();
    m.Set(5, 10, c);
    EXPECT_FALSE(Check(m).onePlayer.reachable) << c;
  }
}

TEST(LevelCheck, DeathFieldsAndLaserBeamsAreJudgedApart) {
  MapSketch death = SplitRoom();
  death.Set(5, 10, '!');
  EXPECT_FALSE(Check(death).onePlayer.reachable);

  // A beam cell can be crossed between shots.
  MapSketch beam = SplitRoom();
  beam.Set(4, 10, 'l').Set(5, 10, '.');
  EXPECT_TRUE(Check(beam).onePlayer.reachable);

  // A key in a beam is burnt: the door it was meant for stays shut.
  MapSketch key = SplitRoom();
  key.Set(5, 10, '|').Set(8, 2, 'L').Set(8, 3, 'k');
  const CheckReport r = Check(key);
  EXPECT_FALSE(r.onePlayer.reachable);
  EXPECT_TRUE(HasMessage(r.notes, "laser's beam"));
}

TEST(LevelCheck, RoomCrossingNeedsAnOpeningTwoPlayersNeedItTwoWide) {
  MapSketch m;
  m.CloseAllRooms().Set(5, 5, 'S').Set(5, 30, 'E');
  EXPECT_FALSE(Check(m).onePlayer.reachable);

  m.Set(5, 19, '.').Set(5, 20, '.');
  CheckReport r = Check(m);
  EXPECT_TRUE(r.onePlayer.reachable);
  EXPECT_FALSE(r.twoPlayers.reachable);
  EXPECT_TRUE(HasMessage(r.errors, "side by side"));

  m.Set(6, 19, '.').Set(6, 20, '.');
  r = Check(m);
  EXPECT_TRUE(r.onePlayer.reachable);
  EXPECT_TRUE(r.twoPlayers.reachable);
  EXPECT_TRUE(r.Ok());
}

TEST(LevelCheck, ArrivingPlayerOverwritesWhatIsAtTheEntryCell) {
  // Open on the left room's side only: the wall at the entry is overwritten.
  MapSketch m;
  m.CloseAllRooms().Set(5, 5, 'S').Set(5, 30, 'E').Set(5, 19, '.').Set(6, 19, '.');
  const CheckReport r = Check(m);
  EXPECT_TRUE(r.onePlayer.reachable);
  EXPECT_TRUE(r.twoPlayers.reachable);
  EXPECT_TRUE(HasMessage(r.notes, "overwrites the wall"));

  // Open on the far side only: nobody can stand on the edge to walk out.
  MapSketch far;
  far.CloseAllRooms().Set(5, 5, 'S').Set(5, 30, 'E').Set(5, 20, '.').Set(6, 20, '.');
  EXPECT_FALSE(Check(far).onePlayer.reachable);
}

TEST(LevelCheck, CrossingsChainThroughSeveralRoomsAndBack) {
  // Start in room (0,0); the key lies in room (2,2); the door to the Finish is in (0,0).
  MapSketch m;
  m.CloseAllRooms().Set(5, 5, 'S').Set(30, 50, 'k');
  m.HWall(8, 1, 18).Set(8, 9, '|').Set(10, 9, 'E');
  auto openRight = [&](int row, int col) {  // col = last column of the left room
    m.Set(row, col, '.').Set(row + 1, col, '.').Set(row, col + 1, '.').Set(row + 1, col + 1, '.');
  };
  auto openDown = [&](int row, int col) {  // row = last row of the upper room
    m.Set(row, col, '.').Set(row, col + 1, '.').Set(row + 1, col, '.').Set(row + 1, col + 1, '.');
  };
  openRight(4, 19);
  openRight(4, 39);
  openDown(11, 45);
  openDown(23, 45);
  const CheckReport r = Check(m);
  EXPECT_TRUE(r.onePlayer.reachable);
  EXPECT_TRUE(r.twoPlayers.reachable);
  CheckOptions verbose;
  verbose.wantRoute = true;
  const CheckReport routed = CheckLevel(m.Bytes(), verbose);
  EXPECT_TRUE(HasMessage(routed.twoPlayers.route, "open the door"));
  EXPECT_TRUE(HasMessage(routed.twoPlayers.route, "collect the key"));
}

TEST(LevelCheck, RefusesLevelsWithoutStartOrFinishOrWithBadStartCells) {
  MapSketch none;
  CheckReport r = Check(none);
  EXPECT_TRUE(HasMessage(r.errors, "no Start"));
  EXPECT_TRUE(HasMessage(r.errors, "no Finish"));
  EXPECT_FALSE(r.Ok());

  MapSketch left;
  left.Set(5, 20, 'S').Set(5, 30, 'E');
  r = Check(left);
  EXPECT_TRUE(HasMessage(r.errors, "in column 0 of its room"));

  MapSketch right;
  right.Set(5, 39, 'S').Set(5, 30, 'E');
  r = Check(right);
  EXPECT_TRUE(HasMessage(r.errors, "in column 19 of its room"));

  MapSketch wall;
  wall.Set(5, 5, 'S').Set(5, 4, '#').Set(5, 30, 'E');
  r = Check(wall);
  EXPECT_TRUE(HasMessage(r.errors, "player 1's start cell"));
  EXPECT_TRUE(HasMessage(r.errors, "cannot enter"));

  MapSketch mine;
  mine.Set(5, 5, 'S').Set(5, 6, '!').Set(5, 30, 'E');
  r = Check(mine);
  EXPECT_TRUE(HasMessage(r.errors, "player 2's start cell"));
}

TEST(LevelCheck, StartCellsCutOffFromEachOtherAreReported) {
  MapSketch m;
  m.CloseAllRooms().VWall(5, 1, 10).Set(5, 5, 'S').Set(5, 15, 'E');
  const CheckReport r = Check(m);
  EXPECT_FALSE(r.bothStartsUsable);
  EXPECT_TRUE(HasMessage(r.errors, "cut off"));
  EXPECT_FALSE(r.Ok());
}

TEST(LevelCheck, OpenOuterBoundaryIsNoted) {
  MapSketch m = SplitRoom();
  m.Set(5, 10, '.').Set(0, 5, '.');
  EXPECT_TRUE(HasMessage(Check(m).notes, "walk out of the level"));
}

}  // namespace

namespace {

TEST(LevelCheck, MovesThatStrandAPlayerForGoodAreNoted) {
  // The gap in the wall leads on; a down slide drops into a closed pocket below.
  MapSketch m = SplitRoom();
  m.Set(5, 10, '.').Set(6, 10, '.').HWall(8, 1, 9).Set(8, 3, 'v');
  CheckReport r = Check(m);
  EXPECT_TRUE(r.Ok());
  EXPECT_TRUE(HasMessage(r.notes, "stuck for good: slide from"));

  // A way back out of the pocket (an up slide) removes the trap.
  m.Set(8, 6, '^');
  r = Check(m);
  EXPECT_FALSE(HasMessage(r.notes, "stuck for good"));

  // Spending the only key on the wrong door is a trap as well.
  MapSketch doors = SplitRoom();
  doors.HWall(3, 1, 9).Set(3, 5, '|').Set(5, 10, '|').Set(8, 3, 'k');
  r = Check(doors);
  EXPECT_TRUE(r.Ok());
  EXPECT_TRUE(HasMessage(r.notes, "stuck for good: open the door at row 3 col 5"));
}

}  // namespace
