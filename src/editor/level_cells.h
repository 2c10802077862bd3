#pragma once
// Cells of a level as the editor counts them: index row * 60 + column over the 60 x 36
// cells of the 3 x 3 rooms, room (0, 0) top left.
#include "world/level_file.h"
#include "world/world_grid.h"

constexpr int LevelCellCount = LevelCellBytes;  // 2160
constexpr int LevelRoomsAcross = 3;
constexpr int LevelRoomsDown = 3;

constexpr bool InLevel(int col, int row) {
  return col >= 0 && col < LevelColumns && row >= 0 && row < LevelRows;
}
constexpr int CellAt(int col, int row) { return row * LevelColumns + col; }
constexpr int ColumnOf(int cell) { return cell % LevelColumns; }
constexpr int RowOf(int cell) { return cell / LevelColumns; }
// The room a cell lies in, and where within it.
constexpr int LevelRoomX(int cell) { return ColumnOf(cell) / GridRoomWidth; }
constexpr int LevelRoomY(int cell) { return RowOf(cell) / GridRoomHeight; }
constexpr int InRoomX(int cell) { return ColumnOf(cell) % GridRoomWidth; }
constexpr int InRoomY(int cell) { return RowOf(cell) % GridRoomHeight; }
constexpr bool SameRoom(int a, int b) { return LevelRoomX(a) == LevelRoomX(b) && LevelRoomY(a) == LevelRoomY(b); }
