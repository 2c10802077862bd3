#include "players/bombs.h"

#include <iterator>

#include "players/shots.h"
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
  void Steer(PlayerState& player, int direction) {
    player.MoveDirection = direction;
    UpdatePlayer(game, player);
  }
};

TEST_F(BombsTest, ABombSetOffOnItsOwnerKillsThroughTheShield) {
  p1.ShieldTicks = 80;
  PlaceWithKeys(p1);
  EXPECT_EQ(p1.Bombs, 0);
  EXPECT_EQ(At(5, 5), Cell::Bomb);
  EXPECT_TRUE(WasDrawn(5, 5, Cell::Bomb));
  EXPECT_FALSE(p1.Firing);
  Release(keys::Fire, p1);
  EXPECT_TRUE(p1.Dead);
  EXPECT_FALSE(p1.BombActive);
  EXPECT_EQ(At(5, 5), Cell::Floor);
  EXPECT_EQ(host.sounds, (Sounds{11, 6}));
}

TEST_F(BombsTest, TheOwnerStandsStillAndReappearsWhenTheBombRollsOn) {
  PlaceWithKeys(p1);
  Press(keys::Right, p1);
  UpdatePlayer(game, p1);
  EXPECT_EQ(p1.X, 5);
  EXPECT_EQ(p1.BombX, 6);
  EXPECT_EQ(At(5, 5), Cell::Player1);
  EXPECT_EQ(At(6, 5), Cell::Bomb);
  EXPECT_TRUE(WasDrawn(5, 5, Cell::Player1));
  // Blocked by a wall, the bomb waits.
  At(7, 5) = Cell::BrickSolid;
  UpdatePlayer(game, p1);
  EXPECT_EQ(p1.BombX, 6);

  // Released two cells away: the owner is hit by the blast.
  At(7, 5) = Cell::Floor;
  UpdatePlayer(game, p1);
  EXPECT_EQ(p1.BombX, 7);
  host.sounds.clear();
  Release(keys::Fire, p1);
  EXPECT_TRUE(p1.Dead);
  EXPECT_EQ(At(5, 5), Cell::Floor);
  EXPECT_EQ(At(7, 5), Cell::Floor);
  EXPECT_EQ(host.sounds, (Sounds{11, 6}));
}

TEST_F(BombsTest, FieldsUnderASteeredBombComeBack) {
  At(6, 5) = Cell::DeathField;
  At(7, 5) = Cell::SlideUp;
  PlaceWithKeys(p1);
  Steer(p1, 3);
  EXPECT_EQ(At(6, 5), Cell::Bomb);
  Steer(p1, 3);
  EXPECT_EQ(At(6, 5), Cell::DeathField);
  EXPECT_TRUE(WasDrawn(6, 5, Cell::DeathField));
  EXPECT_EQ(At(7, 5), Cell::Bomb);
  EXPECT_EQ(host.roomDraws, 0);

  // Going off on the slide: the slide comes back after the blast; the DeathField in
  // the blast survives as well.
  Steer(p1, 0);
  Release(keys::Fire, p1);
  EXPECT_EQ(At(7, 5), Cell::SlideUp);
  EXPECT_EQ(At(6, 5), Cell::DeathField);
  EXPECT_TRUE(p1.Dead);  // two cells from the bomb
}

TEST_F(BombsTest, ABombRunningIntoACreatureGoesOffThere) {
  At(7, 5) = Cell::Devil;
  At(8, 5) = Cell::Ant;
  At(9, 7) = Cell::Chigger;  // a corner of the blast square
  p1.StatusText = "BOMB";
  PlaceWithKeys(p1);
  Steer(p1, 3);
  Steer(p1, 3);
  EXPECT_FALSE(p1.BombActive);
  EXPECT_EQ(p1.StatusText, "");
  EXPECT_EQ(At(7, 5), Cell::Floor);
  EXPECT_EQ(At(8, 5), Cell::Floor);
  EXPECT_EQ(At(9, 7), Cell::Chigger);
  EXPECT_EQ(At(6, 5), Cell::Floor);  // the bomb's last cell is not given back
  EXPECT_EQ(p1.Points, 0);
  EXPECT_EQ(host.sounds, (Sounds{11, 6}));  // the owner stood in the blast
}

TEST_F(BombsTest, TwoBombsChainWithOneSound) {
  MoveTo(p1, 5, 10);
  At(8, 2) = Cell::Bomb;
  At(10, 2) = Cell::Bomb;
  At(12, 2) = Cell::Ant;  // reached only through the chain
  At(6, 2) = Cell::Ant;
  ShotHit(game, 8, 2, p1);
  EXPECT_EQ(At(8, 2), Cell::Floor);
  EXPECT_EQ(At(10, 2), Cell::Floor);
  EXPECT_EQ(At(12, 2), Cell::Floor);
  EXPECT_EQ(At(6, 2), Cell::Floor);
  EXPECT_EQ(host.sounds, Sounds{11});
}

TEST_F(BombsTest, NoBlastTouchesColumnZeroOrRowZero) {
  MoveTo(p1, 10, 10);
  for (int x = 0; x <= 3; ++x)
    for (int y = 0; y <= 3; ++y) At(x, y) = Cell::Ant;
  At(1, 1) = Cell::Bomb;
  At(2, 3) = Cell::Bomb;  // chains at (2, 3), its blast reaches row 1 to 5
  ExplodeBomb(game, 1, 1, true);
  for (int i = 0; i <= 3; ++i) {
    EXPECT_EQ(At(0, i), Cell::Ant);
    EXPECT_EQ(At(i, 0), Cell::Ant);
    EXPECT_FALSE(AnythingDrawnAt(0, i));
    EXPECT_FALSE(AnythingDrawnAt(i, 0));
  }
  EXPECT_EQ(At(1, 1), Cell::Floor);
  EXPECT_EQ(At(3, 3), Cell::Floor);
  EXPECT_EQ(At(3, 1), Cell::Floor);
  // The far edge is reached.
  for (int x = 17; x <= 19; ++x)
    for (int y = 9; y <= 11; ++y) At(x, y) = Cell::Ant;
  ExplodeBomb(game, 18, 10, false);
  EXPECT_EQ(At(19, 11), Cell::Floor);
  EXPECT_EQ(At(17, 9), Cell::Floor);
}

TEST_F(BombsTest, OnlyBlastableThingsAreDestroyed) {
  MoveTo(p1, 15, 10);
  const CellCode survivors[] = {Cell::Money, Cell::Key, Cell::Heart, Cell::BrickSolid,
                                Cell::Door,  Cell::PigP2, Cell::DeathField};
  const CellCode victims[] = {Cell::Horse, Cell::HorseP, Cell::FireP, Cell::Star, Cell::Pig};
  // Laid out row by row over (3..7, 3..5), around a bomb at (5, 5).
  auto cell = [&](int i) -> CellCode& { return At(3 + i % 5, 3 + i / 5); };
  const int victimsFrom = static_cast<int>(std::size(survivors));
  for (int i = 0; i < victimsFrom; ++i) cell(i) = survivors[i];
  for (int i = 0; i < static_cast<int>(std::size(victims)); ++i) cell(victimsFrom + i) = victims[i];
  At(5, 5) = Cell::Bomb;
  ExplodeBomb(game, 5, 5, true);
  for (int i = 0; i < victimsFrom; ++i) EXPECT_EQ(cell(i), survivors[i]);
  for (int i = 0; i < static_cast<int>(std::size(victims)); ++i)
    EXPECT_EQ(cell(victimsFrom + i), Cell::Floor) << victims[i];
  EXPECT_EQ(p1.Points, 0);
}

TEST_F(BombsTest, PlayersInTheBlastDie) {
  StartGame(2);
  MoveTo(p1, 3, 3);
  MoveTo(p2, 4, 5);
  p2.ShieldTicks = 99;
  At(5, 5) = Cell::Bomb;
  ExplodeBomb(game, 5, 5, true);
  EXPECT_TRUE(p2.Dead);
  EXPECT_FALSE(p1.Dead);  // a corner of the square
  EXPECT_EQ(At(4, 5), Cell::Floor);
  EXPECT_EQ(At(3, 3), Cell::Player1);
  EXPECT_EQ(host.sounds, (Sounds{11, 26}));
}

TEST_F(BombsTest, AWarpedPartnersOldCellNeitherShieldsTheCentreNorIsHurt) {
  StartGame(2);
  At(10, 5) = Cell::Finish;
  Walk(p2, 3);  // p2 warps from (9, 5)
  ASSERT_TRUE(p2.Warped);
  p2.CodeUnderBomb = Cell::Player2;  // left over from an earlier bomb
  MoveTo(p1, 5, 9);
  PlaceWithKeys(p1);
  for (int i = 0; i < 4; ++i) Steer(p1, 2);
  ASSERT_EQ(p1.BombX, 9);
  ASSERT_EQ(p1.BombY, 5);
  host.sounds.clear();
  Release(keys::Fire, p1);
  EXPECT_FALSE(p2.Dead);
  EXPECT_EQ(At(9, 5), Cell::Floor);
  EXPECT_EQ(host.sounds, Sounds{11});
}

TEST_F(BombsTest, BombPredicates) {
  const CellCode rollable[] = {Cell::Floor, Cell::DeathField, Cell::SlideFieldOmni,
                               Cell::SlideRight, Cell::SlideDown};
  for (CellCode code : rollable) {
    At(0, 0) = code;
    EXPECT_TRUE(BombCanEnter(game.World, 0, 0)) << code;
    EXPECT_FALSE(CellIsBlastable(game.World, 0, 0)) << code;
  }
  At(0, 0) = Cell::Money;
  EXPECT_FALSE(BombCanEnter(game.World, 0, 0));
  EXPECT_FALSE(BombCanEnter(game.World, -1, 0));
  EXPECT_FALSE(CellIsBlastable(game.World, 0, 12));
}
