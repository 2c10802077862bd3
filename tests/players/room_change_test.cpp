#include "players/room_change.h"

#include "players_fixture.h"

class RoomChangeTest : public PlayersTest {
 protected:
  int RoomX() const { return game.World.CurrentRoomX; }
  int RoomY() const { return game.World.CurrentRoomY; }
  CellCode InRoom(int rx, int ry, int x, int y) { return game.World.RoomCell(rx, ry, x, y); }
};

TEST_F(RoomChangeTest, WalkingUpOffTheRoomEntersTheRoomAbove) {
  MoveTo(p1, 7, 0);
  game.World.RoomCell(2, 1, 3, 3) = Cell::Money;
  Walk(p1, 1);
  EXPECT_EQ(RoomX(), 2);
  EXPECT_EQ(RoomY(), 1);
  EXPECT_EQ(p1.X, 7);
  EXPECT_EQ(p1.Y, 11);
  EXPECT_EQ(At(7, 11), Cell::Player1);
  EXPECT_EQ(InRoom(2, 2, 7, 0), Cell::Floor);
  EXPECT_EQ(game.World.Snapshot(3, 3), Cell::Money);
  EXPECT_EQ(host.roomDraws, 1);
}

TEST_F(RoomChangeTest, TheNewRoomKeepsTheCellMatchingTheOldPosition) {
  // The step began at (7, 0) of the old room; (7, 0) of the new room is not cleared.
  MoveTo(p1, 7, 0);
  game.World.RoomCell(2, 1, 7, 0) = Cell::BrickSolid;
  Walk(p1, 1);
  EXPECT_EQ(At(7, 0), Cell::BrickSolid);
}

TEST_F(RoomChangeTest, DiagonalStepsLeaveStraightExceptOutOfACorner) {
  struct Case {
    int x, y, move, roomX, roomY, newX, newY;
  } cases[] = {
      {19, 5, 2, 3, 2, 0, 5},   {19, 0, 2, 3, 1, 0, 11},  {4, 0, 2, 2, 1, 4, 11},
      {19, 11, 4, 3, 3, 0, 0},  {19, 4, 4, 3, 2, 0, 4},   {6, 11, 4, 2, 3, 6, 0},
      {0, 11, 6, 1, 3, 19, 0},  {0, 4, 6, 1, 2, 19, 4},   {6, 11, 6, 2, 3, 6, 0},
      {0, 0, 8, 1, 1, 19, 11},  {0, 4, 8, 1, 2, 19, 4},   {6, 0, 8, 2, 1, 6, 11},
      {19, 7, 3, 3, 2, 0, 7},   {0, 7, 7, 1, 2, 19, 7},   {8, 11, 5, 2, 3, 8, 0},
  };
  for (const Case& c : cases) {
    StartGame(1);
    MoveTo(p1, c.x, c.y);
    Walk(p1, c.move);
    EXPECT_EQ(RoomX(), c.roomX) << c.x << "," << c.y << " dir " << c.move;
    EXPECT_EQ(RoomY(), c.roomY) << c.x << "," << c.y << " dir " << c.move;
    EXPECT_EQ(p1.X, c.newX) << c.x << "," << c.y << " dir " << c.move;
    EXPECT_EQ(p1.Y, c.newY) << c.x << "," << c.y << " dir " << c.move;
    EXPECT_EQ(At(c.newX, c.newY), Cell::Player1);
  }
}

TEST_F(RoomChangeTest, TheEdgeOfTheWorldStopsThePlayers) {
  StartGame(1, 2, 0);
  MoveTo(p1, 7, 0);
  Walk(p1, 1);
  EXPECT_EQ(RoomY(), 0);
  EXPECT_EQ(p1.Y, 0);
  EXPECT_EQ(At(7, 0), Cell::Player1);
  EXPECT_EQ(host.roomDraws, 0);

  StartGame(1, 4, 4);
  MoveTo(p1, 19, 11);
  Walk(p1, 4);
  EXPECT_EQ(RoomX(), 4);
  EXPECT_EQ(RoomY(), 4);
  // A corner needs both neighbours: room (4, 3) exists, but down-right does not.
  StartGame(1, 3, 4);
  MoveTo(p1, 19, 11);
  EXPECT_TRUE(LeaveRoom(game, 4));
  EXPECT_FALSE(LeaveRoom(game, 3));
}

TEST_F(RoomChangeTest, TwoLivingPlayersLeaveOnlyTogether) {
  StartGame(2);
  MoveTo(p1, 7, 0);
  MoveTo(p2, 12, 0);
  p2.MoveDirection = 1;
  Walk(p1, 1);
  EXPECT_EQ(RoomY(), 1);
  EXPECT_EQ(p1.Y, 11);
  EXPECT_EQ(p2.X, 12);
  EXPECT_EQ(p2.Y, 11);
  EXPECT_EQ(At(12, 11), Cell::Player2);
  EXPECT_EQ(InRoom(2, 2, 12, 0), Cell::Floor);

  // Partner in another row, or walking another way: nothing happens.
  StartGame(2);
  MoveTo(p1, 7, 0);
  MoveTo(p2, 12, 3);
  p2.MoveDirection = 1;
  Walk(p1, 1);
  EXPECT_EQ(RoomY(), 2);
  EXPECT_EQ(p1.Y, 0);

  StartGame(2);
  MoveTo(p1, 7, 0);
  MoveTo(p2, 12, 0);
  p2.MoveDirection = 7;
  Walk(p1, 1);
  EXPECT_EQ(RoomY(), 2);

  // Left and right need the same column.
  StartGame(2);
  MoveTo(p1, 19, 2);
  MoveTo(p2, 19, 8);
  p2.MoveDirection = 3;
  Walk(p1, 3);
  EXPECT_EQ(RoomX(), 3);
  EXPECT_EQ(p2.X, 0);
  EXPECT_EQ(p2.Y, 8);
}

TEST_F(RoomChangeTest, CornersAreClosedToTwoLivingPlayersAndOpenWhenOneIsDead) {
  StartGame(2);
  MoveTo(p1, 19, 0);
  MoveTo(p2, 19, 1);
  p2.MoveDirection = 2;
  Walk(p1, 2);
  EXPECT_EQ(RoomX(), 2);
  EXPECT_EQ(RoomY(), 2);

  DamagePlayer(game, 250, Cell::Player2, false);
  Walk(p1, 2);
  EXPECT_EQ(RoomX(), 3);
  EXPECT_EQ(RoomY(), 1);
  EXPECT_EQ(p1.X, 0);
  EXPECT_EQ(p1.Y, 11);
  // The dead partner moves along but is not written into the room.
  EXPECT_EQ(p2.X, 0);
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
  EXPECT_EQ(RoomY(), 2);
  EXPECT_EQ(At(12, 0), Cell::Bomb);
}

TEST_F(RoomChangeTest, EntryCellsAreOverwrittenAndShotsVanish) {
  StartGame(2);
  MoveTo(p1, 0, 3);
  MoveTo(p2, 0, 6);
  p2.MoveDirection = 7;
  game.World.RoomCell(1, 2, 19, 3) = Cell::BrickSolid;
  game.World.RoomCell(1, 2, 19, 6) = Cell::Finish;
  p1.ShotActive = true;
  p1.ShotX = 4, p1.ShotY = 4;
  At(4, 4) = Cell::P1Bullet3;
  p2.ShotActive = true;
  p2.ShotX = 8, p2.ShotY = 8;
  At(8, 8) = Cell::P2Bullet5;

  Walk(p1, 7);
  EXPECT_EQ(RoomX(), 1);
  EXPECT_EQ(At(19, 3), Cell::Player1);
  EXPECT_EQ(At(19, 6), Cell::Player2);
  EXPECT_FALSE(p1.ShotActive);
  EXPECT_FALSE(p2.ShotActive);
  EXPECT_EQ(InRoom(2, 2, 4, 4), Cell::Floor);
  EXPECT_EQ(InRoom(2, 2, 8, 8), Cell::Floor);
  EXPECT_EQ(InRoom(2, 2, 0, 3), Cell::Floor);
  EXPECT_EQ(InRoom(2, 2, 0, 6), Cell::Floor);
}
