// The grid's frame, room selection, placement into other rooms and edge crossing.
#include <gtest/gtest.h>

#include <algorithm>

#include "world/world_grid.h"

namespace {

TEST(WorldGridTest, ClearWorldLeavesFloorInsideAFrameOfEdgeBricks) {
  WorldGrid w;
  w.Cells.fill(Cell::Money);
  w.CurrentRoomX = 3;
  w.StartRoomY = 2;
  w.TargetCount = 9;
  w.ClearWorld();
  EXPECT_EQ(std::count(w.Cells.begin(), w.Cells.end(), Cell::BrickSolidEdge), 316);
  EXPECT_EQ(std::count(w.Cells.begin(), w.Cells.end(), Cell::Floor), GridCells - 316);
  EXPECT_EQ(w.RoomCell(0, 2, 0, 6), Cell::BrickSolidEdge);   // world column 0, row 30
  EXPECT_EQ(w.RoomCell(4, 4, 19, 11), Cell::BrickSolidEdge);  // the far corner
  EXPECT_EQ(w.RoomCell(2, 0, 7, 0), Cell::BrickSolidEdge);
  EXPECT_EQ(w.RoomCell(2, 0, 7, 1), Cell::Floor);
  EXPECT_EQ(w.RoomCell(1, 1, 0, 0), Cell::Floor);
  EXPECT_EQ(w.RoomCell(0, 1, 1, 0), Cell::Floor);  // a border room is Floor inside the frame
  EXPECT_EQ(w.CurrentRoomX, 0);
  EXPECT_EQ(w.StartRoomY, 0);
  EXPECT_EQ(w.TargetCount, 0);
}

TEST(WorldGridTest, SetCurrentRoomRefusesRoomsOutsideTheGrid) {
  WorldGrid w;
  EXPECT_EQ(w.SetCurrentRoom(2, 3), RoomChange::Made);
  EXPECT_EQ(w.SetCurrentRoom(5, 0), RoomChange::OutsideGrid);
  EXPECT_EQ(w.SetCurrentRoom(0, 5), RoomChange::OutsideGrid);
  EXPECT_EQ(w.SetCurrentRoom(-1, 0), RoomChange::OutsideGrid);
  EXPECT_EQ(w.CurrentRoomX, 2);
  EXPECT_EQ(w.CurrentRoomY, 3);
  EXPECT_EQ(w.SetCurrentRoom(4, 4), RoomChange::Made);
  EXPECT_EQ(w.CurrentRoomX, 4);
}

TEST(WorldGridTest, PlaceInRoomWritesOnlyOnFloorInsideTheGrid) {
  WorldGrid w;
  w.RoomCell(3, 3, 4, 4) = Cell::Key;
  const auto before = w.Cells;
  EXPECT_EQ(w.PlaceInRoom(-1, 2, Cell::Ant, 5, 5), Placement::Blocked);
  EXPECT_EQ(w.PlaceInRoom(2, 5, Cell::Ant, 5, 5), Placement::Blocked);
  EXPECT_EQ(w.PlaceInRoom(2, 2, Cell::Ant, 19, -1), Placement::Blocked);  // would be (18, 11)
  // would be (0, 0) of room (2, 3)
  EXPECT_EQ(w.PlaceInRoom(2, 2, Cell::Ant, 20, 0), Placement::Blocked);
  EXPECT_EQ(w.PlaceInRoom(3, 3, Cell::Ant, 4, 4), Placement::Blocked);
  EXPECT_EQ(w.PlaceInRoom(0, 0, Cell::Ant, 0, 0), Placement::Blocked);  // the frame
  EXPECT_EQ(w.Cells, before);
  EXPECT_EQ(w.PlaceInRoom(2, 2, Cell::Ant, 19, 11), Placement::Placed);
  EXPECT_EQ(w.RoomCell(2, 2, 19, 11), Cell::Ant);
}

TEST(WorldGridTest, CrossingFromTheTopRightCornerTriesThreeRoomsAndReportsTheLast) {
  WorldGrid w;
  w.SetCurrentRoom(3, 1);
  EXPECT_EQ(w.CrossRoomEdge(19, 0, Cell::Ant), Placement::Placed);
  EXPECT_EQ(w.RoomCell(4, 0, 1, 11), Cell::Ant);
  EXPECT_EQ(w.RoomCell(3, 0, 19, 11), Cell::Ant);
  EXPECT_EQ(w.RoomCell(4, 1, 1, 0), Cell::Ant);

  // Now the diagonal and upper copies are blocked (occupied), the last one is free.
  w.RoomCell(4, 1, 1, 0) = Cell::Floor;
  EXPECT_EQ(w.CrossRoomEdge(19, 0, Cell::Devil), Placement::Placed);
  EXPECT_EQ(w.RoomCell(4, 0, 1, 11), Cell::Ant);
  EXPECT_EQ(w.RoomCell(4, 1, 1, 0), Cell::Devil);

  // The last blocked: blocked, though the others were placed.
  w.RoomCell(4, 0, 1, 11) = Cell::Floor;
  w.RoomCell(3, 0, 19, 11) = Cell::Floor;
  EXPECT_EQ(w.CrossRoomEdge(19, 0, Cell::Cow), Placement::Blocked);
  EXPECT_EQ(w.RoomCell(4, 0, 1, 11), Cell::Cow);
  EXPECT_EQ(w.RoomCell(3, 0, 19, 11), Cell::Cow);
}

TEST(WorldGridTest, CrossingFromInsideOrOffTheGridChangesNothing) {
  WorldGrid w;
  w.SetCurrentRoom(2, 2);
  auto before = w.Cells;
  EXPECT_EQ(w.CrossRoomEdge(5, 5, Cell::Ant), Placement::Blocked);
  EXPECT_EQ(w.CrossRoomEdge(1, 5, Cell::Ant), Placement::Blocked);
  EXPECT_EQ(w.Cells, before);

  // From the top-left room outwards there is no room at all.
  w.SetCurrentRoom(0, 0);
  EXPECT_EQ(w.CrossRoomEdge(0, 0, Cell::Ant), Placement::Blocked);
  EXPECT_EQ(w.Cells, before);
  // Below it the frame blocks; left of it there is no room.
  EXPECT_EQ(w.CrossRoomEdge(0, 11, Cell::Ant), Placement::Blocked);
  EXPECT_EQ(w.Cells, before);
  w.SetCurrentRoom(1, 1);
  EXPECT_EQ(w.CrossRoomEdge(0, 11, Cell::Frog), Placement::Placed);
  EXPECT_EQ(w.RoomCell(0, 2, 19, 1), Cell::Frog);
  EXPECT_EQ(w.RoomCell(1, 2, 0, 1), Cell::Frog);
  EXPECT_EQ(w.RoomCell(0, 1, 19, 11), Cell::Frog);
}

}  // namespace
