// Chasers and wanderers: whom they chase, how they pass enemy walls, how they leave
// the room, and what they do to a player they walk into.
#include "play/creatures.h"
#include "world_fixture.h"

namespace {

class CreaturesTest : public WorldTest {};

TEST_F(CreaturesTest, ChasersWithoutTargetsStandStill) {
  Put(5, 5, Cell::Ant);
  Put(12, 7, Cell::Horse);
  FullScan();
  EXPECT_EQ(game.World.TargetCount, 0);
  EXPECT_EQ(At(5, 5), Cell::Ant);
  EXPECT_EQ(At(12, 7), Cell::Horse);
  EXPECT_TRUE(host.drawn.empty());
}

TEST_F(CreaturesTest, TargetsAreMarkersThenLivingPlayersRecords) {
  PlacePlayer(1, 3, 4);
  PlacePlayer(2, 8, 2);
  game.Player2.Dead = true;  // its marker still counts, its record does not
  // Player 1 has left for the Finish: no marker, but still a target where it was.
  Put(3, 4, Cell::Floor);
  EXPECT_EQ(CollectTargets(game), 2);
  EXPECT_EQ(game.World.TargetCount, 2);
  EXPECT_EQ(game.World.TargetList[0].X, 8);
  EXPECT_EQ(game.World.TargetList[0].Y, 2);
  EXPECT_EQ(game.World.TargetList[1].X, 3);
  EXPECT_EQ(game.World.TargetList[1].Y, 4);

  // In a one-player game player 2's record is never a target.
  game.PlayerCount = 1;
  game.Player2.Dead = false;
  Put(8, 2, Cell::Floor);
  EXPECT_EQ(CollectTargets(game), 1);
}

TEST_F(CreaturesTest, OfEquallyNearTargetsTheLastWins) {
  PlacePlayer(1, 5, 5);
  PlacePlayer(2, 15, 5);
  Put(10, 5, Cell::Devil);
  FullScan();
  EXPECT_EQ(At(11, 5), Cell::Devil);  // towards player 2, the later record

  // Swap the players: the chaser now turns the other way.
  game.World.ClearWorld();
  game.World.SetCurrentRoom(RoomX, RoomY);
  PlacePlayer(2, 5, 5);
  PlacePlayer(1, 15, 5);
  Put(10, 5, Cell::Devil);
  FullScan();
  EXPECT_EQ(At(9, 5), Cell::Devil);
}

TEST_F(CreaturesTest, ChasersStepDiagonallyAndPreferTheUpperLeftOnTies) {
  PlacePlayer(1, 10, 10);
  Put(5, 5, Cell::Cow);
  FullScan();
  EXPECT_EQ(At(6, 6), Cell::Cow);
  EXPECT_EQ(At(5, 5), Cell::Floor);
  EXPECT_TRUE(WasDrawn(5, 5, Cell::Floor));
  EXPECT_TRUE(WasDrawn(6, 6, Cell::Cow));

  // With the diagonal blocked, the two equally near cells tie: the upper row wins.
  Put(6, 6, Cell::BrickSolid);
  const GridPoint step = StepTowards(game.World, 7, 7, 5, 5);
  EXPECT_EQ(step.X, 6);
  EXPECT_EQ(step.Y, 5);
}

TEST_F(CreaturesTest, ChasersPassRunsOfEnemyWallsInOneStep) {
  // A vertical run of three between chaser and player.
  PlacePlayer(1, 12, 5);
  for (int y = 4; y <= 6; ++y) Put(6, y, Cell::BrickEnemyTrans);
  Put(5, 5, Cell::Chigger);
  // A horizontal run of three in another row.
  Put(5, 9, Cell::Ant);
  for (int x = 6; x <= 8; ++x) Put(x, 9, Cell::BrickEnemyTrans);
  PlacePlayer(2, 12, 9);
  FullScan();
  EXPECT_EQ(At(7, 5), Cell::Chigger);
  EXPECT_EQ(At(5, 5), Cell::Floor);
  EXPECT_EQ(At(9, 9), Cell::Ant);
  for (int y = 4; y <= 6; ++y) EXPECT_EQ(At(6, y), Cell::BrickEnemyTrans);
  for (int x = 6; x <= 8; ++x) EXPECT_EQ(At(x, 9), Cell::BrickEnemyTrans);
}

TEST_F(CreaturesTest, ChasersStayWhenNoNearerCellCanBeEntered) {
  PlacePlayer(1, 12, 5);
  Put(5, 5, Cell::Horse);
  for (int y = 4; y <= 6; ++y) Put(6, y, Cell::BrickSolid);
  // Through an enemy wall into a dead end: no step at all, not even into the wall.
  Put(5, 9, Cell::Pig);
  Put(6, 9, Cell::BrickEnemyTrans);
  for (int y = 8; y <= 10; ++y) Put(7, y, Cell::BrickSolid);
  Put(6, 8, Cell::Key);
  Put(6, 10, Cell::Key);
  PlacePlayer(2, 12, 9);
  FullScan();
  EXPECT_EQ(At(5, 5), Cell::Horse);
  EXPECT_EQ(At(5, 9), Cell::Pig);
  EXPECT_EQ(At(6, 9), Cell::BrickEnemyTrans);
}

struct Contact {
  CellCode code;
  int amount;
  bool sound;
};

TEST_F(CreaturesTest, ACreatureWalkingIntoAPlayerHurtsItAndIsUsedUp) {
  const Contact table[] = {{Cell::Ant, 10, true},    {Cell::Devil, 20, true}, {Cell::Cow, 30, true},
                           {Cell::Chigger, 40, true}, {Cell::Horse, 90, true}, {Cell::Pig, 50, true},
                           {Cell::Frog, 50, false},   {Cell::RandomP, 50, false}};
  for (const Contact& c : table) {
    SCOPED_TRACE(c.code);
    game.World.ClearWorld();
    game.World.SetCurrentRoom(RoomX, RoomY);
    host.sounds.clear();
    PlacePlayer(2, 6, 5, 500);
    Put(5, 5, c.code);
    if (c.code == Cell::Frog || c.code == Cell::RandomP) {
      Script({1, 2});  // walks, to the right
      WandererStep(game, 5, 5, c.code);
    } else {
      CollectTargets(game);
      ChaserStep(game, 5, 5, c.code);
    }
    EXPECT_EQ(game.Player2.Life, 500 - c.amount);
    EXPECT_EQ(At(5, 5), Cell::Floor);
    EXPECT_EQ(At(6, 5), Cell::Player2);
    EXPECT_EQ(CountInRoom(c.code), 0);
    const bool hurtSound = std::find(host.sounds.begin(), host.sounds.end(), 25) != host.sounds.end();
    EXPECT_EQ(hurtSound, c.sound);
  }
}

TEST_F(CreaturesTest, WanderersRestTwoScansInThree) {
  Put(5, 5, Cell::Frog);
  Script({0, 2});
  FullScan();
  EXPECT_EQ(At(5, 5), Cell::Frog);
  Script({2, 2});
  FullScan();
  EXPECT_EQ(At(5, 5), Cell::Frog);
  Script({1, 2});
  FullScan();
  EXPECT_EQ(At(6, 5), Cell::Frog);
  EXPECT_EQ(At(5, 5), Cell::Floor);
}

TEST_F(CreaturesTest, AFrogCrossesTheRightEdgeOnlyOntoFloor) {
  Put(19, 5, Cell::Frog);
  Script({1, 2});
  FullScan();
  EXPECT_EQ(At(19, 5), Cell::Floor);
  EXPECT_TRUE(WasDrawn(19, 5, Cell::Floor));
  EXPECT_EQ(Beside(+1, 0, 1, 5), Cell::Frog);

  Put(19, 6, Cell::Frog);
  Beside(+1, 0, 1, 6) = Cell::BrickSolid;
  Script({1, 2});
  FullScan();
  EXPECT_EQ(At(19, 6), Cell::Frog);
  EXPECT_EQ(Beside(+1, 0, 1, 6), Cell::BrickSolid);
}

TEST_F(CreaturesTest, AFrogInColumnOneCannotLeaveLeftwards) {
  Put(1, 5, Cell::Frog);
  Script({1, 6});
  FullScan();
  EXPECT_EQ(At(1, 5), Cell::Frog);
  EXPECT_EQ(At(0, 5), Cell::Floor);
  EXPECT_EQ(Beside(-1, 0, 19, 5), Cell::Floor);
}

TEST_F(CreaturesTest, AFrogInTheCornerCopiesIntoThreeRoomsAndLeavesOnTheLast) {
  Put(19, 0, Cell::Frog);
  Script({1, 2});
  FullScan();
  EXPECT_EQ(Beside(+1, -1, 1, 11), Cell::Frog);
  EXPECT_EQ(Beside(0, -1, 19, 11), Cell::Frog);
  EXPECT_EQ(Beside(+1, 0, 1, 0), Cell::Frog);
  EXPECT_EQ(At(19, 0), Cell::Floor);

  // Only the room to the right refuses: two copies, and the frog stays as well.
  game.World.ClearWorld();
  game.World.SetCurrentRoom(RoomX, RoomY);
  Put(19, 0, Cell::Frog);
  Beside(+1, 0, 1, 0) = Cell::Money;
  Script({1, 2});
  FullScan();
  EXPECT_EQ(Beside(+1, -1, 1, 11), Cell::Frog);
  EXPECT_EQ(Beside(0, -1, 19, 11), Cell::Frog);
  EXPECT_EQ(Beside(+1, 0, 1, 0), Cell::Money);
  EXPECT_EQ(At(19, 0), Cell::Frog);

  // Only the last succeeds: it leaves.
  game.World.ClearWorld();
  game.World.SetCurrentRoom(RoomX, RoomY);
  Put(19, 0, Cell::Frog);
  Beside(+1, -1, 1, 11) = Cell::Money;
  Beside(0, -1, 19, 11) = Cell::Money;
  Script({1, 2});
  FullScan();
  EXPECT_EQ(Beside(+1, 0, 1, 0), Cell::Frog);
  EXPECT_EQ(At(19, 0), Cell::Floor);
}

TEST_F(CreaturesTest, WanderersPassEnemyWallsButNeverThroughTheRoomEdge) {
  Put(5, 5, Cell::Frog);
  Put(6, 5, Cell::BrickEnemyTrans);
  Put(7, 5, Cell::BrickEnemyTrans);
  Put(16, 3, Cell::Frog);
  Put(17, 3, Cell::BrickEnemyTrans);
  Put(18, 3, Cell::BrickEnemyTrans);
  Put(19, 3, Cell::BrickEnemyTrans);
  Script({1, 2, 1, 2});
  FullScan();
  EXPECT_EQ(At(16, 3), Cell::Frog);
  EXPECT_EQ(Beside(+1, 0, 1, 3), Cell::Floor);
  EXPECT_EQ(At(8, 5), Cell::Frog);
  EXPECT_EQ(At(5, 5), Cell::Floor);

  // Walls ending in something solid: no move.
  Put(8, 5, Cell::Floor);
  const GridPoint p = PassEnemyWalls(game.World, 3, 6, 5, 5, 5);
  EXPECT_EQ(p.X, 8);
  Put(8, 5, Cell::Key);
  const GridPoint q = PassEnemyWalls(game.World, 3, 6, 5, 5, 5);
  EXPECT_EQ(q.X, 5);
  EXPECT_EQ(q.Y, 5);
}

}  // namespace
