#include "play/pickups.h"

#include "players_fixture.h"

using PickupsTest = PlayersTest;

TEST_F(PickupsTest, ItemsAreCollectedByWalkingOntoThem) {
  const CellCode row[] = {Cell::Health, Cell::Bomb, Cell::Money, Cell::Key, Cell::PigP3};
  for (int i = 0; i < 5; ++i) At(6 + i, 5) = row[i];
  for (int i = 0; i < 5; ++i) Walk(p1, 3);
  EXPECT_EQ(p1.HealthKits, 1);
  EXPECT_EQ(p1.Bombs, 1);
  EXPECT_EQ(p1.Keys, 1);
  EXPECT_EQ(p1.Points, 108);
  EXPECT_EQ(host.sounds, (Sounds{1, 4, 2, 3, 12}));
  EXPECT_EQ(At(10, 5), Cell::Player1);
  EXPECT_EQ(CountInRoom(Cell::Player1), 1);

  At(11, 5) = Cell::PigP5;  // the adult cannot be entered
  Walk(p1, 3);
  EXPECT_EQ(p1.X, 10);

  StartGame(2);
  At(9, 4) = Cell::Money;
  Walk(p2, 1);
  EXPECT_EQ(host.sounds, Sounds{22});
}

TEST_F(PickupsTest, DoorsNeedAKey) {
  At(6, 5) = Cell::Door;
  Walk(p1, 3);
  EXPECT_EQ(p1.X, 5);
  EXPECT_EQ(At(6, 5), Cell::Door);
  EXPECT_TRUE(host.sounds.empty() && host.drawn.empty());
  p1.Keys = 2;
  Walk(p1, 3);
  EXPECT_EQ(p1.Keys, 1);
  EXPECT_EQ(At(6, 5), Cell::Player1);
  EXPECT_EQ(host.sounds, Sounds{7});
}

TEST_F(PickupsTest, TheFinishHidesAndWarpsThePlayer) {
  At(6, 5) = Cell::Finish;
  Walk(p1, 3);
  EXPECT_TRUE(p1.Warped);
  EXPECT_EQ(p1.MoveDirection, 0);
  EXPECT_EQ(At(6, 5), Cell::Finish);
  EXPECT_TRUE(WasDrawn(5, 5, Cell::Floor));
  EXPECT_EQ(CountInRoom(Cell::Player1), 0);
  EXPECT_EQ(host.sounds, Sounds{9});
  Press(keys::Right, p1);
  Walk(p1, 3);
  EXPECT_EQ(CountInRoom(Cell::Player1), 0);
}

TEST_F(PickupsTest, DeadlyCellsKillThroughTheShield) {
  for (CellCode code : {Cell::DeathField, Cell::LaserSet1_3, Cell::LaserSet3_5}) {
    StartGame(1);
    p1.ShieldTicks = 50;
    At(6, 5) = code;
    Walk(p1, 3);
    EXPECT_TRUE(p1.Dead);
    EXPECT_EQ(At(6, 5), code);
    EXPECT_EQ(CountInRoom(Cell::Player1), 0);
    EXPECT_EQ(host.sounds, Sounds{6});
  }
}

TEST_F(PickupsTest, SlideChainsCarryThePlayerToTheirEnd) {
  MoveTo(p1, 4, 5);
  At(5, 5) = Cell::SlideUp;
  At(5, 1) = Cell::Money;
  At(5, 0) = Cell::BrickSolid;
  Walk(p1, 3);
  EXPECT_EQ(p1.Y, 4);
  EXPECT_EQ(At(5, 4), Cell::Player1);

  StartGame(1);
  MoveTo(p1, 4, 5);
  for (int y = 2; y <= 5; ++y) At(5, y) = Cell::SlideUp;
  At(5, 1) = Cell::Money;
  Walk(p1, 3);
  EXPECT_EQ(p1.Y, 1);
  EXPECT_EQ(p1.Points, 100);
  for (int y = 2; y <= 5; ++y) EXPECT_EQ(At(5, y), Cell::SlideUp);

  // Omni fields keep a diagonal; arrows turn it.
  StartGame(1);
  At(6, 4) = At(7, 3) = At(9, 2) = Cell::SlideFieldOmni;
  At(8, 2) = Cell::SlideRight;
  Walk(p1, 2);
  EXPECT_EQ(p1.X, 10);
  EXPECT_EQ(p1.Y, 2);

  // A slide onto the Finish warps.
  StartGame(1);
  At(6, 5) = Cell::SlideRight;
  At(7, 5) = Cell::Finish;
  Walk(p1, 3);
  EXPECT_TRUE(p1.Warped);
}

TEST_F(PickupsTest, RefusedSlidesLeaveThePlayerWhereItWas) {
  const struct {
    CellCode first, second;
  } cases[] = {{Cell::SlideRight, Cell::SlideLeft},  // a closed circuit
               {Cell::SlideDown, Cell::Floor},        // onto the wall below
               {Cell::SlideLeft, Cell::Floor},        // back onto the player itself
               {Cell::SlideRight, Cell::Door}};       // a door without a key
  for (const auto& c : cases) {
    StartGame(1);
    At(6, 5) = c.first;
    At(7, 5) = c.second;
    At(6, 6) = Cell::BrickSolid;
    Walk(p1, 3);
    EXPECT_EQ(p1.X, 5) << c.first << " " << c.second;
    EXPECT_EQ(At(5, 5), Cell::Player1);
    EXPECT_EQ(At(6, 5), c.first);
  }
  // Out of the room.
  StartGame(1);
  MoveTo(p1, 4, 1);
  At(5, 1) = At(5, 0) = Cell::SlideUp;
  Walk(p1, 3);
  EXPECT_EQ(p1.X, 4);
  EXPECT_EQ(game.World.CurrentRoomY, 2);
}
