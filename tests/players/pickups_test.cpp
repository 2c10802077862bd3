#include "players/pickups.h"

#include "players_fixture.h"

using PickupsTest = PlayersTest;

TEST_F(PickupsTest, ItemsAreCollectedByWalkingOntoThem) {
  At(6, 5) = Cell::Health;
  At(7, 5) = Cell::Bomb;
  At(8, 5) = Cell::Money;
  At(9, 5) = Cell::Key;
  At(10, 5) = Cell::PigP3;
  for (int i = 0; i < 5; ++i) Walk(p1, 3);
  EXPECT_EQ(p1.HealthKits, 1);
  EXPECT_EQ(p1.Bombs, 1);
  EXPECT_EQ(p1.Keys, 1);
  EXPECT_EQ(p1.Points, 108);
  EXPECT_EQ(host.sounds, (Sounds{1, 4, 2, 3, 12}));
  EXPECT_EQ(At(10, 5), Cell::Player1);
  for (int x = 5; x < 10; ++x) EXPECT_EQ(At(x, 5), Cell::Floor);

  StartGame(2);
  At(9, 4) = Cell::Money;
  At(9, 3) = Cell::PigP1;
  Walk(p2, 1);
  Walk(p2, 1);
  EXPECT_EQ(p2.Points, 108);
  EXPECT_EQ(host.sounds, (Sounds{22, 32}));
}

TEST_F(PickupsTest, DoorsNeedAKey) {
  At(6, 5) = Cell::Door;
  Walk(p1, 3);
  EXPECT_EQ(p1.X, 5);
  EXPECT_EQ(At(6, 5), Cell::Door);
  EXPECT_EQ(At(5, 5), Cell::Player1);
  EXPECT_TRUE(host.sounds.empty());
  EXPECT_TRUE(host.drawn.empty());

  p1.Keys = 2;
  Walk(p1, 3);
  EXPECT_EQ(p1.Keys, 1);
  EXPECT_EQ(p1.X, 6);
  EXPECT_EQ(At(6, 5), Cell::Player1);
  EXPECT_EQ(host.sounds, Sounds{7});
}

TEST_F(PickupsTest, TheFinishHidesAndWarpsThePlayer) {
  At(6, 5) = Cell::Finish;
  Walk(p1, 3);
  EXPECT_TRUE(p1.Warped);
  EXPECT_EQ(p1.MoveDirection, 0);
  EXPECT_EQ(p1.X, 5);
  EXPECT_EQ(At(6, 5), Cell::Finish);
  EXPECT_EQ(At(5, 5), Cell::Floor);
  EXPECT_TRUE(WasDrawn(5, 5, Cell::Floor));
  EXPECT_EQ(CountInRoom(Cell::Player1), 0);
  EXPECT_EQ(host.sounds, Sounds{9});

  // Out of play: keys and steps do nothing.
  Press(keys::Right, p1);
  Walk(p1, 3);
  EXPECT_EQ(CountInRoom(Cell::Player1), 0);
}

TEST_F(PickupsTest, DeadlyCellsKillThroughTheShield) {
  const CellCode deadly[] = {Cell::DeathField, Cell::LaserSet1_3, Cell::LaserSet3_5};
  for (CellCode code : deadly) {
    StartGame(1);
    p1.ShieldTicks = 50;
    At(6, 5) = code;
    Walk(p1, 3);
    EXPECT_TRUE(p1.Dead) << code;
    EXPECT_EQ(At(6, 5), code);
    EXPECT_EQ(At(5, 5), Cell::Floor);
    EXPECT_EQ(CountInRoom(Cell::Player1), 0);
    EXPECT_EQ(host.sounds, Sounds{6});
  }
}

TEST_F(PickupsTest, AdultPigProducerCannotBeEntered) {
  At(6, 5) = Cell::PigP5;
  Walk(p1, 3);
  EXPECT_EQ(p1.X, 5);
  EXPECT_EQ(p1.Points, 0);
  EXPECT_EQ(At(6, 5), Cell::PigP5);
}

TEST_F(PickupsTest, SlideChainsCarryThePlayerToTheirEnd) {
  // A SlideUp with plain floor behind it ends on the first floor cell.
  MoveTo(p1, 4, 5);
  At(5, 5) = Cell::SlideUp;
  At(5, 1) = Cell::Money;
  At(5, 0) = Cell::BrickSolid;
  Walk(p1, 3);
  EXPECT_EQ(p1.X, 5);
  EXPECT_EQ(p1.Y, 4);
  EXPECT_EQ(At(5, 4), Cell::Player1);
  EXPECT_EQ(At(5, 5), Cell::SlideUp);
  EXPECT_EQ(At(4, 5), Cell::Floor);

  // A longer chain ends on the money, which is collected; the fields stay.
  StartGame(1);
  MoveTo(p1, 4, 5);
  for (int y = 2; y <= 5; ++y) At(5, y) = Cell::SlideUp;
  At(5, 1) = Cell::Money;
  At(5, 0) = Cell::BrickSolid;
  Walk(p1, 3);
  EXPECT_EQ(p1.Y, 1);
  EXPECT_EQ(p1.Points, 100);
  EXPECT_EQ(host.sounds, Sounds{2});
  for (int y = 2; y <= 5; ++y) EXPECT_EQ(At(5, y), Cell::SlideUp);
}

TEST_F(PickupsTest, OmniFieldsKeepADiagonalAndTurnAtArrows) {
  At(6, 4) = Cell::SlideFieldOmni;
  At(7, 3) = Cell::SlideFieldOmni;
  At(8, 2) = Cell::SlideRight;
  At(9, 2) = Cell::SlideFieldOmni;
  Walk(p1, 2);
  EXPECT_EQ(p1.X, 10);
  EXPECT_EQ(p1.Y, 2);
  EXPECT_EQ(At(10, 2), Cell::Player1);
}

TEST_F(PickupsTest, RefusedSlidesLeaveThePlayerWhereItWas) {
  // Out of the room.
  MoveTo(p1, 4, 2);
  At(5, 2) = Cell::SlideUp;
  At(5, 1) = Cell::SlideUp;
  At(5, 0) = Cell::SlideUp;
  Walk(p1, 3);
  EXPECT_EQ(p1.X, 4);
  EXPECT_EQ(p1.Y, 2);
  EXPECT_EQ(game.World.CurrentRoomY, 2);
  EXPECT_TRUE(host.drawn.empty());

  // A closed circuit.
  StartGame(1);
  At(6, 5) = Cell::SlideRight;
  At(7, 5) = Cell::SlideLeft;
  Walk(p1, 3);
  EXPECT_EQ(p1.X, 5);
  EXPECT_EQ(At(5, 5), Cell::Player1);
  p1.X = 6;
  p1.MoveDirection = 3;
  EXPECT_TRUE(Slide(game, p1));
  EXPECT_EQ(p1.X, 6);

  // Onto a wall, and back onto the player's own cell.
  StartGame(1);
  At(6, 5) = Cell::SlideDown;
  At(6, 6) = Cell::BrickSolid;
  Walk(p1, 3);
  EXPECT_EQ(p1.X, 5);
  At(6, 5) = Cell::SlideLeft;
  Walk(p1, 3);
  EXPECT_EQ(p1.X, 5);
  EXPECT_EQ(At(5, 5), Cell::Player1);
}

TEST_F(PickupsTest, SlidesEndingOnDoorsAndTheFinish) {
  At(6, 5) = Cell::SlideRight;
  At(7, 5) = Cell::Door;
  Walk(p1, 3);
  EXPECT_EQ(p1.X, 5);
  EXPECT_EQ(At(7, 5), Cell::Door);

  At(7, 5) = Cell::Finish;
  Walk(p1, 3);
  EXPECT_TRUE(p1.Warped);
  EXPECT_EQ(At(7, 5), Cell::Finish);
  EXPECT_EQ(CountInRoom(Cell::Player1), 0);
}
