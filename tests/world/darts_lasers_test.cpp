// Fire darts: where they are fired, what they replace or stop at, and how they cross
// into the next room; lasers: what a beam does and that it leaves Floor behind.
#include <array>

#include "play/darts_lasers.h"
#include "world_fixture.h"

namespace {

class DartsTest : public WorldTest {
 protected:
  std::array<CellCode, RoomCells> RoomCopy(int dx, int dy) {
    std::array<CellCode, RoomCells> cells{};
    for (int x = 0; x < GridRoomWidth; ++x)
      for (int y = 0; y < GridRoomHeight; ++y) cells[SnapshotIndex(x, y)] = Beside(dx, dy, x, y);
    return cells;
  }
  int DartsInRoom() const {
    int n = 0;
    for (int x = 0; x < GridRoomWidth; ++x)
      for (int y = 0; y < GridRoomHeight; ++y) n += CodeIsDart(At(x, y));
    return n;
  }
};

TEST_F(DartsTest, AProducerFiresOnHalfTheScansAndTriesFifteenTimes) {
  Put(5, 5, Cell::FireP);
  Script({1, 2});
  FireDarts(game, 5, 5);
  EXPECT_EQ(DartsInRoom(), 0);

  // Up (draw 0) is blocked: fifteen blocked tries and it gives up.
  Put(5, 4, Cell::BrickSolid);
  std::deque<int> draws = {0};
  for (int i = 0; i < 15; ++i) draws.push_back(0);
  draws.push_back(2);
  host.scriptedDraws = draws;
  FireDarts(game, 5, 5);
  EXPECT_EQ(DartsInRoom(), 0);

  // Fourteen blocked and then right: a Fire3 beside it, drawn.
  draws.assign(15, 0);
  draws.push_back(2);
  host.scriptedDraws = draws;
  FireDarts(game, 5, 5);
  EXPECT_EQ(At(6, 5), Cell::Fire3);
  EXPECT_TRUE(WasDrawn(6, 5, Cell::Fire3));
  EXPECT_EQ(DartsInRoom(), 1);
}

TEST_F(DartsTest, NoDartIsFiredIntoColumnZeroOrRowZero) {
  Put(1, 1, Cell::FireP);
  // Up, up-left, left, down-left, up-right all fail; down-right is taken.
  Script({0, 0, 7, 6, 5, 1, 3});
  FireDarts(game, 1, 1);
  EXPECT_EQ(At(2, 2), Cell::Fire4);
  EXPECT_EQ(DartsInRoom(), 1);
}

TEST_F(DartsTest, RightAndDownwardDartsDoNotTailgate) {
  Put(5, 5, Cell::FireP);
  Put(7, 5, Cell::Fire3);
  Script({0, 2, 6});
  FireDarts(game, 5, 5);
  EXPECT_EQ(At(6, 5), Cell::Floor);
  EXPECT_EQ(At(4, 5), Cell::Fire7);

  // Leftward darts have no such rule.
  Put(4, 5, Cell::Floor);
  Put(3, 5, Cell::Fire7);
  Script({0, 6});
  FireDarts(game, 5, 5);
  EXPECT_EQ(At(4, 5), Cell::Fire7);

  // A different dart two cells down does not hold a Fire5 back.
  Put(5, 7, Cell::Fire3);
  Script({0, 4});
  FireDarts(game, 5, 5);
  EXPECT_EQ(At(5, 6), Cell::Fire5);
}

TEST_F(DartsTest, DartsReplaceCreaturesProducersAndShots) {
  const CellCode victims[] = {Cell::Devil, Cell::Pig,   Cell::HorseP, Cell::Star,
                              Cell::PigP2, Cell::PigP5, Cell::P2Bullet3};
  for (CellCode victim : victims) {
    SCOPED_TRACE(victim);
    Put(4, 5, Cell::Fire3);
    Put(5, 5, victim);
    MoveDart(game, 4, 5, Cell::Fire3);
    EXPECT_EQ(At(4, 5), Cell::Floor);
    EXPECT_EQ(At(5, 5), Cell::Fire3);
    EXPECT_TRUE(WasDrawn(5, 5, Cell::Fire3));
    Put(5, 5, Cell::Floor);
  }
}

TEST_F(DartsTest, DartsStopAtKeysWallsDartsAndFireProducers) {
  const CellCode stoppers[] = {Cell::Key,  Cell::BrickSolid, Cell::BrickEnemyTrans, Cell::Door,
                               Cell::Fire7, Cell::FireP,     Cell::LaserSet1_3,     Cell::Unknown};
  for (CellCode stopper : stoppers) {
    SCOPED_TRACE(stopper);
    Put(4, 5, Cell::Fire3);
    Put(5, 5, stopper);
    MoveDart(game, 4, 5, Cell::Fire3);
    EXPECT_EQ(At(4, 5), Cell::Floor);
    EXPECT_EQ(At(5, 5), stopper);
  }
}

TEST_F(DartsTest, ADartHitsAPlayerAndTakesItsCell) {
  PlacePlayer(1, 5, 6);
  Put(5, 5, Cell::Fire5);
  FullScan();
  EXPECT_EQ(game.Player1.Life, 500 - 150);
  EXPECT_EQ(At(5, 6), Cell::Fire5);
  EXPECT_EQ(At(5, 5), Cell::Floor);
}

TEST_F(DartsTest, ADartCrossesDownIntoRowOneOfTheRoomBelow) {
  Put(7, 11, Cell::Fire5);
  FullScan();
  EXPECT_EQ(DartsInRoom(), 0);
  EXPECT_TRUE(WasDrawn(7, 11, Cell::Floor));
  EXPECT_EQ(Beside(0, +1, 7, 1), Cell::Fire5);

  // Not onto anything but Floor.
  Put(8, 11, Cell::Fire5);
  Beside(0, +1, 8, 1) = Cell::Key;
  FullScan();
  EXPECT_EQ(Beside(0, +1, 8, 1), Cell::Key);
}

TEST_F(DartsTest, ALeftwardDartStepsIntoColumnZeroAndOnIntoTheNextRoom) {
  Put(1, 4, Cell::Fire7);
  FullScan();
  EXPECT_EQ(At(0, 4), Cell::Fire7);
  EXPECT_EQ(Beside(-1, 0, 19, 4), Cell::Fire7);
  FullScan();
  EXPECT_EQ(At(0, 4), Cell::Floor);
  EXPECT_EQ(DartsInRoom(), 0);
}

TEST_F(DartsTest, ADartStoppedOnTheEdgeStillCrosses) {
  Put(19, 5, Cell::Fire3);
  Put(18, 8, Cell::Fire3);
  Put(19, 8, Cell::BrickSolid);
  FullScan();
  EXPECT_EQ(Beside(+1, 0, 1, 5), Cell::Fire3);
  EXPECT_EQ(At(19, 8), Cell::BrickSolid);
  EXPECT_EQ(Beside(+1, 0, 1, 8), Cell::Floor);  // from column 18 there is no crossing
}

TEST_F(DartsTest, DiagonalDartsCrossAtCornersAndSides) {
  struct Case {
    CellCode dart;
    int x, y;
    int roomDx, roomDy, toX, toY;
  };
  const Case cases[] = {
      {Cell::Fire8, 1, 1, -1, -1, 19, 11}, {Cell::Fire8, 1, 6, -1, 0, 19, 5},
      {Cell::Fire8, 6, 1, 0, -1, 5, 11},   {Cell::Fire2, 19, 1, +1, -1, 1, 11},
      {Cell::Fire2, 6, 1, 0, -1, 7, 11},   {Cell::Fire2, 19, 6, +1, 0, 1, 5},
      {Cell::Fire4, 19, 11, +1, +1, 1, 1}, {Cell::Fire4, 6, 11, 0, +1, 7, 1},
      {Cell::Fire4, 19, 6, +1, 0, 1, 7},   {Cell::Fire6, 1, 11, -1, +1, 19, 1},
      {Cell::Fire6, 6, 11, 0, +1, 5, 1},   {Cell::Fire6, 1, 6, -1, 0, 19, 7},
      {Cell::Fire1, 6, 1, 0, -1, 6, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dart << " at " << c.x << "," << c.y);
    game.World.ClearWorld();
    game.World.SetCurrentRoom(RoomX, RoomY);
    Put(c.x, c.y, c.dart);
    MoveDart(game, c.x, c.y, c.dart);
    EXPECT_EQ(Beside(c.roomDx, c.roomDy, c.toX, c.toY), c.dart);
  }
}

TEST_F(DartsTest, ACrossingThatNamesRowMinusOneIsRefused) {
  // An up-left dart that reached row 0 in column 1 would be copied to row -1 of the
  // room to the left, which is really cell (18, 11) of that room; an up-right one at
  // (19, 0) would land in (0, 11) of the room to the right.
  const auto left = RoomCopy(-1, 0);
  const auto right = RoomCopy(+1, 0);
  const auto above = RoomCopy(0, -1);
  Put(1, 0, Cell::Fire8);
  Put(19, 0, Cell::Fire2);
  Put(0, 1, Cell::Fire8);  // names column -1 of the room above
  FullScan();
  EXPECT_EQ(RoomCopy(-1, 0), left);
  EXPECT_EQ(RoomCopy(+1, 0), right);
  EXPECT_EQ(RoomCopy(0, -1), above);
  EXPECT_EQ(DartsInRoom(), 0);
}

TEST_F(DartsTest, DartsOnTheOutsideRoomsNeverWriteOffTheGrid) {
  game.World.SetCurrentRoom(0, 0);
  const auto before = game.World.Cells;
  Put(1, 1, Cell::Fire8);
  Put(1, 5, Cell::Fire7);
  Put(5, 1, Cell::Fire1);
  FullScan();
  auto after = game.World.Cells;
  // Only the current room changed: the darts moved into row or column 0 of it.
  for (int i = RoomCells; i < GridCells; ++i) ASSERT_EQ(after[i], before[i]) << i;
}

class LasersTest : public DartsTest {};

TEST_F(LasersTest, ABeamDestroysAKeyForGood) {
  Put(6, 3, Cell::LaserSet1P5);
  Put(6, 4, Cell::Key);
  TickAt(64);
  EXPECT_EQ(At(6, 4), Cell::LaserSet1_5);
  EXPECT_TRUE(WasDrawn(6, 4, Cell::LaserSet1_5));
  for (int c0 = 65; c0 < 80; ++c0) TickAt(c0);
  EXPECT_EQ(At(6, 4), Cell::LaserSet1_5);
  TickAt(80);
  EXPECT_EQ(At(6, 4), Cell::Floor);
  EXPECT_TRUE(WasDrawn(6, 4, Cell::Floor));
}

TEST_F(LasersTest, EachSetPutsItsOwnBeamRightOrDown) {
  struct Case {
    CellCode producer, beam;
    bool right;
    int32_t fireAt;
  };
  const Case cases[] = {
      {Cell::LaserSet1P3, Cell::LaserSet1_3, true, 64},  {Cell::LaserSet1P5, Cell::LaserSet1_5, false, 64},
      {Cell::LaserSet2P3, Cell::LaserSet2_3, true, 79},  {Cell::LaserSet2P5, Cell::LaserSet2_5, false, 79},
      {Cell::LaserSet3P3, Cell::LaserSet3_3, true, 95},  {Cell::LaserSet3P5, Cell::LaserSet3_5, false, 95},
      {Cell::LaserSet4P3, Cell::LaserSet4_3, true, 111}, {Cell::LaserSet4P5, Cell::LaserSet4_5, false, 111},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.producer);
    game.World.ClearWorld();
    game.World.SetCurrentRoom(RoomX, RoomY);
    Put(5, 5, c.producer);
    Put(6, 5, Cell::BrickSolid);
    Put(5, 6, Cell::Money);
    TickAt(c.fireAt - 16);
    EXPECT_EQ(At(6, 5), Cell::BrickSolid);
    EXPECT_EQ(At(5, 6), Cell::Money);
    TickAt(c.fireAt);
    EXPECT_EQ(At(6, 5), c.right ? c.beam : Cell::BrickSolid);
    EXPECT_EQ(At(5, 6), c.right ? Cell::Money : c.beam);
    TickAt(c.fireAt + 16);
    EXPECT_EQ(CountInRoom(c.beam), 0);
  }
}

TEST_F(LasersTest, ABeamHurtsAPlayerAndABeamOffTheRoomIsNone) {
  PlacePlayer(2, 8, 3);
  Put(7, 3, Cell::LaserSet1P3);
  Put(19, 7, Cell::LaserSet1P3);
  Put(4, 11, Cell::LaserSet1P5);
  const auto right = RoomCopy(+1, 0);
  const auto below = RoomCopy(0, +1);
  TickAt(64);
  EXPECT_EQ(game.Player2.Life, 500 - 150);
  EXPECT_EQ(At(8, 3), Cell::LaserSet1_3);
  EXPECT_EQ(RoomCopy(+1, 0), right);
  EXPECT_EQ(RoomCopy(0, +1), below);
  EXPECT_EQ(CountInRoom(Cell::LaserSet1_3), 1);
  EXPECT_EQ(CountInRoom(Cell::LaserSet1_5), 0);
}

}  // namespace
