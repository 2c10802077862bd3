#pragma once
// The whole field as the autopilot reads it: 100 x 60 cells in world coordinates (five
// room columns of 20 cells, five room rows of 12), row by row, with the current room.
#include <array>

#include "world/cell_codes.h"
#include "world/world_grid.h"

struct WorldMap {
  static constexpr int RoomW = GridRoomWidth;
  static constexpr int RoomH = GridRoomHeight;
  static constexpr int Width = GridRoomsAcross * RoomW;
  static constexpr int Height = GridRoomsDown * RoomH;

  std::array<CellCode, Width * Height> cells{};
  int roomX = 0, roomY = 0;  // the current room

  static int Cell(int wx, int wy) { return wy * Width + wx; }
  static int Cx(int cell) { return cell % Width; }
  static int Cy(int cell) { return cell / Width; }
  static int RoomXOf(int cell) { return Cx(cell) / RoomW; }
  static int RoomYOf(int cell) { return Cy(cell) / RoomH; }
  static int LocalX(int cell) { return Cx(cell) % RoomW; }
  static int LocalY(int cell) { return Cy(cell) % RoomH; }
  static int InRoom(int rx, int ry, int x, int y) { return Cell(rx * RoomW + x, ry * RoomH + y); }
  static bool SameRoom(int a, int b) { return RoomXOf(a) == RoomXOf(b) && RoomYOf(a) == RoomYOf(b); }

  CellCode At(int cell) const { return cells[static_cast<std::size_t>(cell)]; }
  CellCode& At(int cell) { return cells[static_cast<std::size_t>(cell)]; }
  bool InCurrentRoom(int cell) const { return cell >= 0 && RoomXOf(cell) == roomX && RoomYOf(cell) == roomY; }
  // The cell one step from `cell` in `dir` within its room, or -1 past the room's edge.
  static int StepInRoom(int cell, int dir);
  // Where a player leaving its room from `cell` straight in `dir` lands, or -1.
  static int Landing(int cell, int dir);
};

WorldMap MapOfGrid(const WorldGrid& grid);
