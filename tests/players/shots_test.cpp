#include "players/shots.h"

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
  EXPECT_EQ(host.sounds, Sounds{0});
  EXPECT_EQ(At(5, 5), Cell::Player1);

  ShotsTick(game);
  EXPECT_EQ(At(6, 5), Cell::Floor);
  EXPECT_EQ(At(7, 5), Cell::P1Bullet3);
  EXPECT_TRUE(WasDrawn(6, 5, Cell::Floor));
  EXPECT_EQ(host.sounds, Sounds{0});  // one shot in flight at a time
  EXPECT_EQ(p1.ShotAge, 2);
}

TEST_F(ShotsTest, ShotCodesDependOnPlayerAndDirection) {
  StartGame(2);
  MoveTo(p2, 9, 9);
  p2.Firing = true;
  p2.MoveDirection = 6;
  ShotsTick(game);
  EXPECT_EQ(At(8, 10), Cell::P2Bullet6);
  EXPECT_EQ(host.sounds, Sounds{20});
  const CellCode p1Codes[9] = {0, 29, 28, 30, 27, 81, 82, 83, 84};
  for (int d = 1; d <= 8; ++d) {
    EXPECT_EQ(ShotCode(1, d), p1Codes[d]);
    EXPECT_EQ(ShotCode(2, d), 84 + d);
  }
}

TEST_F(ShotsTest, ChiggerShotDownGradeByGrade) {
  At(9, 5) = Cell::Chigger;
  const CellCode grades[] = {Cell::Cow, Cell::Devil, Cell::Ant, Cell::Floor};
  const int points[] = {40, 70, 90, 100};
  for (int i = 0; i < 4; ++i) {
    ShootUntilStopped(p1, 3);
    EXPECT_EQ(At(9, 5), grades[i]);
    EXPECT_TRUE(WasDrawn(9, 5, grades[i]));
    EXPECT_EQ(p1.Points, points[i]);
  }
}

TEST_F(ShotsTest, ProducersAreDowngraded) {
  At(5, 9) = Cell::CowP;
  ShootUntilStopped(p1, 5);
  EXPECT_EQ(At(5, 9), Cell::DevilP);
  EXPECT_EQ(p1.Points, 90);
  ShootUntilStopped(p1, 5);
  EXPECT_EQ(At(5, 9), Cell::AntP);
  EXPECT_EQ(p1.Points, 160);
  ShootUntilStopped(p1, 5);
  EXPECT_EQ(At(5, 9), Cell::Floor);
  EXPECT_EQ(p1.Points, 210);
}

TEST_F(ShotsTest, PointsGoToTheShooter) {
  StartGame(2);
  At(9, 2) = Cell::Star;
  ShootUntilStopped(p2, 1);
  EXPECT_EQ(At(9, 2), Cell::Devil);
  EXPECT_EQ(p2.Points, 5);
  EXPECT_EQ(p1.Points, 0);
}

TEST_F(ShotsTest, UnshootableTargetsStopTheShotUnharmed) {
  StartGame(2);
  const CellCode targets[] = {Cell::Player2, Cell::BrickSolid, Cell::Pig, Cell::PigP5,
                              Cell::FireP, Cell::Money};
  for (CellCode target : targets) {
    At(9, 5) = target;
    ShootUntilStopped(p1, 3);
    EXPECT_EQ(At(9, 5), target) << target;
    EXPECT_EQ(At(8, 5), Cell::Floor);
  }
  EXPECT_EQ(p1.Points, 0);
  EXPECT_FALSE(p2.Dead);
}

TEST_F(ShotsTest, AShotAgainstAnAdjacentObstacleIsNeverDrawn) {
  At(6, 5) = Cell::Ant;
  p1.Firing = true;
  p1.MoveDirection = 3;
  ShotsTick(game);
  EXPECT_FALSE(p1.ShotActive);
  EXPECT_EQ(At(6, 5), Cell::Floor);
  EXPECT_EQ(p1.Points, 10);
  for (const auto& cell : host.drawn) EXPECT_FALSE(CodeIsPlayerShot(cell.code));
  EXPECT_EQ(At(5, 5), Cell::Player1);

  // The next tick fires again.
  ShotsTick(game);
  EXPECT_EQ(At(6, 5), Cell::P1Bullet3);
}

TEST_F(ShotsTest, AShotLeavingTheRoomEndsThere) {
  MoveTo(p1, 17, 5);
  ShootUntilStopped(p1, 3);
  EXPECT_EQ(At(18, 5), Cell::Floor);
  EXPECT_EQ(At(19, 5), Cell::Floor);
  for (int x = 0; x < GridRoomWidth; ++x)
    for (int y = 0; y < GridRoomHeight; ++y)
      EXPECT_EQ(game.World.RoomCell(3, 2, x, y), Cell::Floor);
}

TEST_F(ShotsTest, SomethingElseOnTheTrailGoesOnlyOneTimeInThree) {
  p1.Firing = true;
  p1.MoveDirection = 3;
  ShotsTick(game);  // shot at (6, 5)
  At(6, 5) = Cell::LaserSet1_3;
  host.scriptedDraws = {1};
  ShotsTick(game);
  EXPECT_EQ(At(6, 5), Cell::LaserSet1_3);
  At(7, 5) = Cell::LaserSet1_3;
  host.scriptedDraws = {3};
  ShotsTick(game);
  EXPECT_EQ(At(7, 5), Cell::Floor);
  EXPECT_EQ(At(8, 5), Cell::P1Bullet3);
}

TEST_F(ShotsTest, HorseProducerScatterNeverTouchesColumnZeroOrRowZero) {
  MoveTo(p1, 4, 1);
  for (int i = 0; i <= 2; ++i) At(0, i) = At(i, 0) = Cell::Ant;
  At(1, 2) = At(2, 2) = Cell::Ant;
  At(1, 1) = Cell::HorseP;
  // Every parity draw even, so each cell allowed is rewritten.
  host.scriptedDraws = {0, 6, 0, 0, 0, 1, 0, 2};
  ShootUntilStopped(p1, 7);
  EXPECT_EQ(p1.Points, 150);
  EXPECT_EQ(At(1, 1), Cell::Chigger);
  EXPECT_EQ(At(2, 1), Cell::AntP);
  EXPECT_EQ(At(1, 2), Cell::DevilP);
  EXPECT_EQ(At(2, 2), Cell::CowP);
  for (int i = 0; i <= 2; ++i) {
    EXPECT_EQ(At(0, i), Cell::Ant);
    EXPECT_EQ(At(i, 0), Cell::Ant);
    EXPECT_FALSE(AnythingDrawnAt(0, i));
    EXPECT_FALSE(AnythingDrawnAt(i, 0));
  }
}

TEST_F(ShotsTest, HorseProducerScatterSkipsOddDrawsAndSolidCells) {
  At(10, 5) = Cell::HorseP;
  At(9, 4) = Cell::Money;
  At(11, 6) = Cell::BrickSolid;
  // Row 4: (9,4) money, (10,4) odd draw, (11,4) written. Row 5: (9,5) odd, centre
  // written, (11,5) odd. Row 6: (9,6) odd, (10,6) odd, (11,6) wall.
  host.scriptedDraws = {0, 1, 0, 4, 1, 0, 5, 1, 1, 1, 0};
  ShootUntilStopped(p1, 3);
  EXPECT_EQ(At(9, 4), Cell::Money);
  EXPECT_EQ(At(10, 4), Cell::Floor);
  EXPECT_EQ(At(11, 4), Cell::HorseP);
  EXPECT_EQ(At(10, 5), Cell::RandomP);
  EXPECT_EQ(At(11, 5), Cell::Floor);
  EXPECT_EQ(At(11, 6), Cell::BrickSolid);
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
  EXPECT_EQ(At(5, 2), Cell::Player2);
  EXPECT_TRUE(WasDrawn(5, 2, Cell::Player2));
  EXPECT_EQ(host.sounds, (Sounds{0, 8}));
  EXPECT_EQ(p1.Points, 0);

  // With both alive the heart turns into a Chigger; the sound is the shooter's.
  At(5, 0) = Cell::Heart;
  host.sounds.clear();
  ShootUntilStopped(p2, 1);
  EXPECT_EQ(At(5, 0), Cell::Chigger);
  EXPECT_EQ(host.sounds, (Sounds{20, 28}));
}

TEST_F(ShotsTest, AHeartInAOnePlayerGameBecomesAChigger) {
  At(5, 2) = Cell::Heart;
  ShootUntilStopped(p1, 1);
  EXPECT_EQ(At(5, 2), Cell::Chigger);
  EXPECT_TRUE(p2.Dead);
  EXPECT_EQ(CountInRoom(Cell::Player2), 0);
}

TEST_F(ShotsTest, AShotBombExplodesWithTheSameSoundForBothPlayers) {
  StartGame(2);
  At(9, 1) = Cell::Bomb;
  At(10, 1) = Cell::Ant;
  ShootUntilStopped(p2, 1);
  EXPECT_EQ(At(9, 1), Cell::Floor);
  EXPECT_EQ(At(10, 1), Cell::Floor);
  EXPECT_EQ(host.sounds, (Sounds{20, 11}));
  EXPECT_EQ(p2.Points, 0);
}

TEST_F(ShotsTest, NoShotWhileSteeringABomb) {
  p1.BombActive = true;
  p1.Firing = true;
  p1.MoveDirection = 3;
  ShotsTick(game);
  EXPECT_FALSE(p1.ShotActive);
  EXPECT_TRUE(host.sounds.empty());
}

TEST_F(ShotsTest, ShootableCells) {
  const int shootable[] = {2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 15, 17, 22, 31, 32, 33, 36};
  const int unshootable[] = {0, 1, 8, 16, 18, 19, 20, 21, 23, 24, 25, 26, 37, 38, 80};
  for (int code : shootable) {
    At(0, 0) = static_cast<CellCode>(code);
    EXPECT_TRUE(CellIsShootable(game.World, 0, 0)) << code;
  }
  for (int code : unshootable) {
    At(0, 0) = static_cast<CellCode>(code);
    EXPECT_FALSE(CellIsShootable(game.World, 0, 0)) << code;
  }
  EXPECT_FALSE(CellIsShootable(game.World, 20, 0));
}
