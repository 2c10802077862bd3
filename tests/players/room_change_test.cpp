#include "play/room_change.h"

#include "players_fixture.h"

class RoomChangeTest : public PlayersTest {
 protected:
  void ExpectRoom(int rx, int ry) {
    EXPECT_EQ(game.World.CurrentRoomX, rx);
    EXPECT_EQ(game.World.CurrentRoomY, ry);
  }
  CellCode& InRoom(int rx, int ry, int x, int y) { return game.World.RoomCell(rx, ry, x, y); }
};

TEST_F(RoomChangeTest, WalkingOffTheTopEntersTheRoomAbove) {
  MoveTo(p1, 7, 0);
  InRoom(2, 1, 7, 0) = Cell::BrickSolid;  // where the step began, but in the new room
  InRoom(2, 1, 3, 3) = Cell::Money;
  Walk(p1, 1);
  ExpectRoom(2, 1);
  EXPECT_EQ(p1.X, 7);
  EXPECT_EQ(p1.Y, 11);
  EXPECT_EQ(At(7, 11), Cell::Player1);
  EXPECT_EQ(At(7, 0), Cell::BrickSolid);
  EXPECT_EQ(InRoom(2, 2, 7, 0), Cell::Floor);
  EXPECT_EQ(game.World.Snapshot(3, 3), Cell::Money);
  EXPECT_EQ(host.roomDraws, 1);
}

TEST_F(RoomChangeTest, DiagonalsLeaveStraightExceptOutOfACorner) {
  const struct {
    int x, y, move, roomX, roomY, newX, newY;
  } cases[] = {
      {19, 5, 2, 3, 2, 0, 5}, {19, 0, 2, 3, 1, 0, 11}, {4, 0, 2, 2, 1, 4, 11},
      {19, 11, 4, 3, 3, 0, 0}, {19, 4, 4, 3, 2, 0, 4}, {6, 11, 4, 2, 3, 6, 0},
      {0, 11, 6, 1, 3, 19, 0}, {0, 4, 6, 1, 2, 19, 4}, {6, 11, 6, 2, 3, 6, 0},
      {0, 0, 8, 1, 1, 19, 11}, {0, 4, 8, 1, 2, 19, 4}, {6, 0, 8, 2, 1, 6, 11},
  };
  for (const auto& c : cases) {
    StartGame(1);
    MoveTo(p1, c.x, c.y);
    Walk(p1, c.move);
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " dir " << c.move);
    ExpectRoom(c.roomX, c.roomY);
    EXPECT_EQ(p1.X, c.newX);
    EXPECT_EQ(p1.Y, c.newY);
  }
}

TEST_F(RoomChangeTest, TheEdgeOfTheWorldStopsThePlayers) {
  StartGame(1, 2, 0);
  MoveTo(p1, 7, 0);
  Walk(p1, 1);
  ExpectRoom(2, 0);
  EXPECT_EQ(p1.Y, 0);
  EXPECT_EQ(host.roomDraws, 0);
  StartGame(1, 3, 4);
  MoveTo(p1, 19, 11);
  EXPECT_TRUE(LeaveRoom(game, 4));  // a corner needs both neighbours
  EXPECT_FALSE(LeaveRoom(game, 3));
}

TEST_F(RoomChangeTest, TwoLivingPlayersLeaveOnlyTogetherAndNeverThroughACorner) {
  const struct {
    int p2x, p2y, p2move;
    bool passes;
  } cases[] = {{12, 0, 1, true}, {12, 3, 1, false}, {12, 0, 7, false}};
  for (const auto& c : cases) {
    StartGame(2);
    MoveTo(p1, 7, 0);
    MoveTo(p2, c.p2x, c.p2y);
    p2.MoveDirection = c.p2move;
    Walk(p1, 1);
    EXPECT_EQ(game.World.CurrentRoomY, c.passes ? 1 : 2) << c.p2y << " " << c.p2move;
  }
  EXPECT_EQ(p2.Y, 0);
  StartGame(2);
  MoveTo(p1, 7, 0);
  MoveTo(p2, 12, 0);
  p2.MoveDirection = 1;
  Walk(p1, 1);
  EXPECT_EQ(p2.Y, 11);
  EXPECT_EQ(At(12, 11), Cell::Player2);

  StartGame(2);
  MoveTo(p1, 19, 0);
  MoveTo(p2, 19, 1);
  p2.MoveDirection = 2;
  Walk(p1, 2);
  ExpectRoom(2, 2);
  DamagePlayer(game, 250, Cell::Player2, false);
  Walk(p1, 2);
  ExpectRoom(3, 1);
  EXPECT_EQ(p2.X, 0);  // the dead partner moves along, unseen
  EXPECT_EQ(p2.Y, 11);
  EXPECT_EQ(CountInRoom(Cell::Player2), 0);
}

TEST_F(RoomChangeTest, NoRoomChangeWhileAPartnerSteersABomb) {
  StartGame(2);
  MoveTo(p1, 7, 0);
  MoveTo(p2, 12, 0);
  p2.Bombs = 1;
  p2.MenuOpen = true;
  p2.MenuChoice = MenuBomb;
  FireDown(game, p2);
  p2.MoveDirection = 1;
  Walk(p1, 1);
  ExpectRoom(2, 2);
  EXPECT_EQ(At(12, 0), Cell::Bomb);
}

TEST_F(RoomChangeTest, EntryCellsAreOverwrittenAndShotsVanish) {
  StartGame(2);
  MoveTo(p1, 0, 3);
  MoveTo(p2, 0, 6);
  p2.MoveDirection = 7;
  InRoom(1, 2, 19, 3) = Cell::BrickSolid;
  p1.ShotActive = p2.ShotActive = true;
  p1.ShotX = 4, p1.ShotY = 4, p2.ShotX = 8, p2.ShotY = 8;
  At(4, 4) = Cell::P1Bullet3;
  At(8, 8) = Cell::P2Bullet5;
  Walk(p1, 7);
  ExpectRoom(1, 2);
  EXPECT_EQ(At(19, 3), Cell::Player1);
  EXPECT_EQ(At(19, 6), Cell::Player2);
  EXPECT_FALSE(p1.ShotActive || p2.ShotActive);
  EXPECT_EQ(InRoom(2, 2, 4, 4), Cell::Floor);
  EXPECT_EQ(InRoom(2, 2, 8, 8), Cell::Floor);
}
