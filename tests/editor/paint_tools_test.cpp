// Which cells the line, rectangle and fill touch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "editor/level_document.h"
#include "editor/paint_tools.h"
#include "world/cell_codes.h"

namespace {

TEST(LineCells, JoinsBothEndsWithoutGapsInEveryDirection) {
  const int ends[][4] = {{5, 5, 20, 9}, {20, 9, 5, 5}, {0, 0, 0, 35}, {59, 0, 0, 35}, {7, 7, 7, 7}, {10, 3, 2, 30}};
  for (const auto& e : ends) {
    const auto cells = LineCells(CellAt(e[0], e[1]), CellAt(e[2], e[3]));
    ASSERT_FALSE(cells.empty());
    EXPECT_EQ(cells.front(), CellAt(e[0], e[1]));
    EXPECT_EQ(cells.back(), CellAt(e[2], e[3]));
    const int steps = std::max(std::abs(e[2] - e[0]), std::abs(e[3] - e[1]));
    EXPECT_EQ(static_cast<int>(cells.size()), steps + 1) << "one cell per step of the longer side";
    for (size_t i = 1; i < cells.size(); ++i) {
      EXPECT_LE(std::abs(ColumnOf(cells[i]) - ColumnOf(cells[i - 1])), 1);
      EXPECT_LE(std::abs(RowOf(cells[i]) - RowOf(cells[i - 1])), 1);
    }
  }
}

TEST(RectangleCells, CoversTheRectangleFromAnyCorner) {
  const auto a = RectangleCells(CellAt(8, 2), CellAt(3, 6));
  const auto b = RectangleCells(CellAt(3, 6), CellAt(8, 2));
  EXPECT_EQ(a.size(), 6u * 5u);
  EXPECT_EQ(a, b);
  EXPECT_TRUE(std::count(a.begin(), a.end(), CellAt(3, 2)));
  EXPECT_FALSE(std::count(a.begin(), a.end(), CellAt(9, 2)));
}

TEST(FloodFillCells, StaysInsideItsRoomAndItsValue) {
  LevelBytes bytes{};  // all floor: the fill still stops at the room
  const auto room = FloodFillCells(bytes, CellAt(25, 15));
  EXPECT_EQ(room.size(), static_cast<size_t>(RoomCells));
  for (int cell : room) {
    EXPECT_EQ(LevelRoomX(cell), 1);
    EXPECT_EQ(LevelRoomY(cell), 1);
  }
  // A wall ring splits the room; diagonal gaps do not let the fill through.
  bytes = LevelDocument::EmptyFrame();
  for (int col = 3; col <= 7; ++col) bytes[CellAt(col, 3)] = bytes[CellAt(col, 7)] = Cell::BrickSolid;
  for (int row = 3; row <= 7; ++row) bytes[CellAt(3, row)] = bytes[CellAt(7, row)] = Cell::BrickSolid;
  bytes[CellAt(7, 7)] = Cell::Floor;  // a corner gap only diagonally open
  bytes[CellAt(6, 6)] = Cell::Floor;
  const auto inside = FloodFillCells(bytes, CellAt(5, 5));
  EXPECT_EQ(inside.size(), 9u);
  const auto wall = FloodFillCells(bytes, CellAt(3, 3));
  EXPECT_TRUE(std::count(wall.begin(), wall.end(), CellAt(7, 3)));
  EXPECT_FALSE(std::count(wall.begin(), wall.end(), CellAt(0, 0))) << "the frame is not joined side by side";
  // Corners of the level and cells outside it.
  EXPECT_FALSE(FloodFillCells(bytes, CellAt(59, 35)).empty());
  EXPECT_TRUE(FloodFillCells(bytes, -1).empty());
  EXPECT_TRUE(FloodFillCells(bytes, LevelCellCount).empty());
}

}  // namespace

#include "editor/map_view.h"

namespace {

// Where cells lie on the map, in both views.
TEST(MapView, TheRoomViewShowsItsRoomAtTheGamesSizeWithANeighbourStripAllRound) {
  MapView view(736, 456);
  view.ShowRoom(1, 1);
  EXPECT_EQ(view.CellSize(), 32);
  int x = 0, y = 0;
  ASSERT_TRUE(view.CellOrigin(CellAt(20, 12), x, y));
  EXPECT_EQ(x, (736 - 640) / 2);
  EXPECT_EQ(y, (456 - 384) / 2);
  EXPECT_EQ(view.CellAt(x + 5, y + 5), CellAt(20, 12));
  // The strips: a cell of each neighbouring room, dimmed, beyond the gap.
  for (const auto& [col, row] : {std::pair{19, 15}, std::pair{40, 15}, std::pair{25, 11}, std::pair{25, 24}}) {
    ASSERT_TRUE(view.CellOrigin(CellAt(col, row), x, y)) << col << "," << row;
    EXPECT_TRUE(view.IsNeighbourCell(CellAt(col, row)));
    EXPECT_EQ(view.CellAt(x + 1, y + 1), CellAt(col, row));
  }
  EXPECT_FALSE(view.CellOrigin(CellAt(41, 15), x, y)) << "only one cell of the neighbour";
  EXPECT_FALSE(view.IsNeighbourCell(CellAt(25, 15)));
  // The top-left room has no neighbour beyond the level's edge.
  view.ShowRoom(0, 0);
  EXPECT_EQ(view.CellAt(2, 200), -1);
}

TEST(MapView, TheLevelViewFitsAtTwelvePixelsAndScrollsWhenZoomed) {
  MapView view(736, 456);
  int x = 0, y = 0;
  ASSERT_TRUE(view.CellOrigin(CellAt(59, 35), x, y));
  EXPECT_EQ(x + 12 + 4, 736) << "the whole level fits, gaps included";
  EXPECT_EQ(view.CellAt(view.ColumnX(20) - 2, view.RowY(5) + 2), -1) << "a gap between rooms";
  EXPECT_TRUE(view.Zoom(2, 0, 0));
  EXPECT_EQ(view.CellSize(), 24);
  EXPECT_FALSE(view.CellOrigin(CellAt(59, 35), x, y)) << "off the map until scrolled";
  view.Reveal(CellAt(59, 35));
  ASSERT_TRUE(view.CellOrigin(CellAt(59, 35), x, y));
  EXPECT_LE(x + 24, 736);
  view.ScrollBy(-100000, -100000);
  EXPECT_EQ(view.OriginX(), 0);
  EXPECT_FALSE(view.Zoom(5, 0, 0) && view.Zoom(1, 0, 0)) << "32 is the last step";
}

}  // namespace
