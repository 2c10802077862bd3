#include "play/bombs.h"

#include "play/shots.h"
#include "players_fixture.h"

class BombsTest : public PlayersTest {
 protected:
  // Item menu on BOMB and fire pressed, as the keys do it.
  void PlaceWithKeys(PlayerState& player) {
    player.Bombs += 1;
    Release(player.KeyMenu, player);
    Press(player.KeyLeft, player);
    Press(player.KeyFire, player);
    ASSERT_TRUE(player.BombActive);
  }
};

TEST_F(BombsTest, ABombSetOffOnItsOwnerKillsThroughTheShield) {
  p1.ShieldTicks = 80;
  PlaceWithKeys(p1);
  EXPECT_EQ(p1.Bombs, 0);
  EXPECT_TRUE(WasDrawn(5, 5, Cell::Bomb));
  Release(keys::Fire, p1);
  EXPECT_TRUE(p1.Dead);
  EXPECT_FALSE(p1.BombActive);
  EXPECT_EQ(At(5, 5), Cell::Floor);
  EXPECT_EQ(host.sounds, (Sounds{11, 6}));
}

TEST_F(BombsTest, SteeringLeavesTheOwnerAndGivesFieldsBack) {
  At(7, 5) = Cell::DeathField;
  At(8, 5) = Cell::SlideUp;
  At(9, 5) = Cell::BrickSolid;
  PlaceWithKeys(p1);
  Press(keys::Right, p1);
  UpdatePlayer(game, p1);
  EXPECT_EQ(p1.X, 5);  // the owner stands still and reappears
  EXPECT_EQ(At(5, 5), Cell::Player1);
  EXPECT_EQ(At(6, 5), Cell::Bomb);
  UpdatePlayer(game, p1);
  UpdatePlayer(game, p1);
  EXPECT_EQ(At(7, 5), Cell::DeathField);
  EXPECT_TRUE(WasDrawn(7, 5, Cell::DeathField));
  EXPECT_EQ(At(8, 5), Cell::Bomb);
  UpdatePlayer(game, p1);  // the wall stops it
  EXPECT_EQ(p1.BombX, 8);
  EXPECT_EQ(host.roomDraws, 0);

  // Going off on the slide: the slide comes back, the DeathField in the blast stays.
  Release(keys::Fire, p1);
  EXPECT_EQ(At(8, 5), Cell::SlideUp);
  EXPECT_EQ(At(7, 5), Cell::DeathField);
  EXPECT_FALSE(p1.Dead);  // three cells away
}

TEST_F(BombsTest, ABombRunningIntoACreatureGoesOffThere) {
  At(7, 5) = Cell::Devil;
  At(9, 7) = Cell::Chigger;  // a corner of the blast square
  At(9, 6) = Cell::Ant;
  PlaceWithKeys(p1);
  p1.StatusText = "BOMB";
  for (int step = 0; step < 2; ++step) {
    p1.MoveDirection = 3;
    UpdatePlayer(game, p1);
  }
  EXPECT_FALSE(p1.BombActive);
  EXPECT_EQ(p1.StatusText, "");
  EXPECT_EQ(At(7, 5), Cell::Floor);
  EXPECT_EQ(At(9, 6), Cell::Floor);
  EXPECT_EQ(At(9, 7), Cell::Chigger);
  EXPECT_EQ(p1.Points, 0);
  EXPECT_EQ(host.sounds, (Sounds{11, 6}));  // the owner stood two cells away
}

TEST_F(BombsTest, TwoBombsChainWithOneSoundWhoeverShotThem) {
  StartGame(2);
  MoveTo(p2, 8, 8);
  At(8, 2) = At(10, 2) = Cell::Bomb;
  At(12, 2) = Cell::Ant;  // reached only through the chain
  p2.Firing = true;
  p2.MoveDirection = 1;
  for (int tick = 0; tick < 6; ++tick) UpdateShot(game, p2);
  EXPECT_EQ(At(8, 2) + At(10, 2) + At(12, 2), Cell::Floor);
  EXPECT_EQ(host.sounds, (Sounds{20, 11}));
  EXPECT_EQ(p2.Points, 0);
}

TEST_F(BombsTest, NoBlastTouchesColumnZeroOrRowZero) {
  MoveTo(p1, 10, 10);
  for (int x = 0; x <= 3; ++x)
    for (int y = 0; y <= 3; ++y) At(x, y) = Cell::Ant;
  At(2, 3) = Cell::Bomb;  // a chained bomb reaching further
  ExplodeBomb(game, 1, 1, true);
  for (int i = 0; i <= 3; ++i) EXPECT_EQ(At(0, i) + At(i, 0), 2 * Cell::Ant);
  EXPECT_FALSE(DrawnInColumnOrRowZero());
  EXPECT_EQ(At(1, 1), Cell::Floor);
  EXPECT_EQ(At(3, 3), Cell::Floor);
  At(19, 11) = Cell::Ant;  // the far edge is reached
  ExplodeBomb(game, 18, 10, false);
  EXPECT_EQ(At(19, 11), Cell::Floor);
}

TEST_F(BombsTest, OnlyCreaturesProducersBombsAndPlayersAreBlasted) {
  StartGame(2);
  MoveTo(p1, 3, 3);  // a corner of the square
  MoveTo(p2, 4, 5);
  p2.ShieldTicks = 99;
  const CellCode survivors[] = {Cell::Money, Cell::Key,   Cell::Heart,     Cell::BrickSolid,
                                Cell::Door,  Cell::PigP2, Cell::DeathField};
  const CellCode victims[] = {Cell::Horse, Cell::HorseP, Cell::FireP, Cell::Star, Cell::Pig};
  for (int i = 0; i < 7; ++i) At(3 + i, 7) = survivors[i];  // row y + 2, columns 3..9
  for (int i = 0; i < 5; ++i) At(3 + i, 4) = victims[i];
  ExplodeBomb(game, 5, 5, true);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(At(3 + i, 7), survivors[i]);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(At(3 + i, 4), Cell::Floor) << victims[i];
  EXPECT_TRUE(p2.Dead);
  EXPECT_FALSE(p1.Dead);
  EXPECT_EQ(host.sounds, (Sounds{11, 26}));
  EXPECT_EQ(p1.Points + p2.Points, 0);
}

TEST_F(BombsTest, AWarpedPartnersOldCellNeitherShieldsTheCentreNorIsHurt) {
  StartGame(2);
  At(10, 5) = Cell::Finish;
  Walk(p2, 3);
  ASSERT_TRUE(p2.Warped);
  p2.CodeUnderBomb = Cell::Player2;  // left over from an earlier bomb
  MoveTo(p1, 5, 9);
  PlaceWithKeys(p1);
  for (int i = 0; i < 4; ++i) {
    p1.MoveDirection = 2;
    UpdatePlayer(game, p1);
  }
  ASSERT_EQ(p1.BombX, 9);
  ASSERT_EQ(p1.BombY, 5);
  host.sounds.clear();
  Release(keys::Fire, p1);
  EXPECT_FALSE(p2.Dead);
  EXPECT_EQ(At(9, 5), Cell::Floor);
  EXPECT_EQ(host.sounds, Sounds{11});
}
