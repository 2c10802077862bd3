#include "play/shots.h"

#include "players_fixture.h"

class ShotsTest : public PlayersTest {
 protected:
  // Holds fire and a direction until the shot fired has stopped.
  void ShootUntilStopped(PlayerState& player, int direction) {
    player.Firing = true;
    player.MoveDirection = direction;
    UpdateShot(game, player);
    for (int tick = 0; tick < 40 && player.ShotActive; ++tick) UpdateShot(game, player);
    ASSERT_FALSE(player.ShotActive);
    player.Firing = false;
  }
};

TEST_F(ShotsTest, AShotFliesOneCellPerTickAndClearsItsTrail) {
  p1.Firing = true;
  p1.MoveDirection = 3;
  ShotsTick(game);
  EXPECT_EQ(At(6, 5), Cell::P1Bullet3);
  EXPECT_TRUE(WasDrawn(6, 5, Cell::P1Bullet3));
  EXPECT_EQ(At(5, 5), Cell::Player1);
  ShotsTick(game);
  EXPECT_EQ(At(6, 5), Cell::Floor);
  EXPECT_EQ(At(7, 5), Cell::P1Bullet3);
  EXPECT_EQ(host.sounds, Sounds{0});  // one shot in flight at a time
  // Anything else found on the trail goes only when a draw is divisible by 3.
  At(7, 5) = Cell::LaserSet1_3;
  host.scriptedDraws = {1};
  ShotsTick(game);
  EXPECT_EQ(At(7, 5), Cell::LaserSet1_3);
  At(8, 5) = Cell::LaserSet1_3;
  host.scriptedDraws = {3};
  ShotsTick(game);
  EXPECT_EQ(At(8, 5), Cell::Floor);

  StartGame(2);
  MoveTo(p2, 9, 9);
  p2.Firing = true;
  p2.MoveDirection = 6;
  ShotsTick(game);
  EXPECT_EQ(At(8, 10), Cell::P2Bullet6);
  EXPECT_EQ(host.sounds, Sounds{20});
}

TEST_F(ShotsTest, CreaturesAndProducersGoDownGradeByGrade) {
  At(9, 5) = Cell::Chigger;
  At(5, 9) = Cell::CowP;
  const CellCode chigger[] = {Cell::Cow, Cell::Devil, Cell::Ant, Cell::Floor};
  const int chiggerPoints[] = {40, 70, 90, 100};
  for (int i = 0; i < 4; ++i) {
    ShootUntilStopped(p1, 3);
    EXPECT_EQ(At(9, 5), chigger[i]);
    EXPECT_TRUE(WasDrawn(9, 5, chigger[i]));
    EXPECT_EQ(p1.Points, chiggerPoints[i]);
  }
  const CellCode cowP[] = {Cell::DevilP, Cell::AntP, Cell::Floor};
  const int cowPPoints[] = {190, 260, 310};
  for (int i = 0; i < 3; ++i) {
    ShootUntilStopped(p1, 5);
    EXPECT_EQ(At(5, 9), cowP[i]);
    EXPECT_EQ(p1.Points, cowPPoints[i]);
  }
}

TEST_F(ShotsTest, ShotsThatEndWithoutEffect) {
  StartGame(2);
  for (CellCode target : {Cell::Player2, Cell::BrickSolid, Cell::Pig, Cell::PigP5, Cell::FireP}) {
    At(9, 5) = target;
    ShootUntilStopped(p1, 3);
    EXPECT_EQ(At(9, 5), target);
    EXPECT_EQ(At(8, 5), Cell::Floor);
  }
  EXPECT_EQ(p1.Points, 0);

  // Out of the room: the neighbour is not touched.
  MoveTo(p1, 17, 5);
  ShootUntilStopped(p1, 3);
  EXPECT_EQ(At(19, 5), Cell::Floor);
  EXPECT_EQ(game.World.RoomCell(3, 2, 1, 5), Cell::Floor);

}

TEST_F(ShotsTest, HorseProducerScatterNeverTouchesColumnZeroOrRowZero) {
  MoveTo(p1, 4, 1);
  for (int i = 0; i <= 2; ++i) At(0, i) = At(i, 0) = Cell::Ant;
  At(1, 2) = At(2, 2) = Cell::Ant;
  At(1, 1) = Cell::HorseP;
  host.scriptedDraws = {0, 6, 0, 0, 0, 1, 0, 2};  // even parities, then the kinds
  ShootUntilStopped(p1, 7);
  EXPECT_EQ(p1.Points, 150);
  EXPECT_EQ(At(1, 1), Cell::Chigger);
  EXPECT_EQ(At(2, 1), Cell::AntP);
  EXPECT_EQ(At(1, 2), Cell::DevilP);
  EXPECT_EQ(At(2, 2), Cell::CowP);
  for (int i = 0; i <= 2; ++i) EXPECT_EQ(At(0, i) + At(i, 0), 2 * Cell::Ant);
  EXPECT_FALSE(DrawnInColumnOrRowZero());

}

TEST_F(ShotsTest, AHeartRevivesADeadPartner) {
  StartGame(2);
  DamagePlayer(game, 250, Cell::Player2, false);
  p2.StatusText = "Game Over";
  At(5, 2) = Cell::Heart;
  host.sounds.clear();
  ShootUntilStopped(p1, 1);
  EXPECT_FALSE(p2.Dead);
  EXPECT_EQ(p2.Life, 50);
  EXPECT_EQ(p2.X, 5);
  EXPECT_EQ(p2.Y, 2);
  EXPECT_EQ(p2.StatusText, "");
  EXPECT_TRUE(WasDrawn(5, 2, Cell::Player2));
  EXPECT_EQ(host.sounds, (Sounds{0, 8}));

  // Both alive: a Chigger, with the shooter's sound.
  At(5, 0) = Cell::Heart;
  host.sounds.clear();
  ShootUntilStopped(p2, 1);
  EXPECT_EQ(At(5, 0), Cell::Chigger);
  EXPECT_EQ(host.sounds, (Sounds{20, 28}));
}
