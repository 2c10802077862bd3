#pragma once
// The level in memory: 5 x 5 rooms of 20 x 12 cells in one flat array, the level
// itself in rooms 1..3 x 1..3, a ring of floor rooms around it inside an edge frame.
#include <array>
#include <cstdint>

#include "world/cell_kinds.h"
#include "world/direction.h"

constexpr int GridRoomsAcross = 5;
constexpr int GridRoomsDown = 5;
constexpr int GridRoomWidth = 20;
constexpr int GridRoomHeight = 12;
constexpr int RoomCells = GridRoomWidth * GridRoomHeight;                  // 240
constexpr int GridCells = GridRoomsAcross * GridRoomsDown * RoomCells;     // 6000
constexpr int TargetCapacity = 600;

// RX * 1200 + RY * 240 + x * 12 + y: a room column's cells are adjacent.
constexpr int CellIndex(int rx, int ry, int x, int y) {
  return rx * GridRoomsDown * RoomCells + ry * RoomCells + x * GridRoomHeight + y;
}
constexpr int SnapshotIndex(int x, int y) { return x * GridRoomHeight + y; }

// The way a walk in `dir` from (x, y) leaves the room: a diagonal goes through a
// corner only from the corner cell itself, else across the edge the cell is on.
constexpr int LeaveDirectionAt(int x, int y, int dir) {
  const bool top = y == 0, bottom = y + 1 == GridRoomHeight;
  const bool left = x == 0, right = x + 1 == GridRoomWidth;
  switch (dir) {
    case Dir::UpRight:
      if (right && top) return Dir::UpRight;
      return !top ? Dir::Right : Dir::Up;
    case Dir::DownRight:
      if (right && bottom) return Dir::DownRight;
      return bottom ? Dir::Down : Dir::Right;
    case Dir::DownLeft:
      if (left && bottom) return Dir::DownLeft;
      return !left ? Dir::Down : Dir::Left;
    case Dir::UpLeft:
      if (left && top) return Dir::UpLeft;
      return !top ? Dir::Left : Dir::Up;
    default:
      return dir;
  }
}

struct GridPoint {
  int16_t X = 0;
  int16_t Y = 0;
};

enum class RoomChange { Made, OutsideGrid };
enum class Placement { Placed, Blocked };

struct WorldGrid {
  int32_t RoomsAcross = GridRoomsAcross;
  int32_t RoomsDown = GridRoomsDown;
  int32_t RoomWidth = GridRoomWidth;
  int32_t RoomHeight = GridRoomHeight;

  std::array<CellCode, GridCells> Cells{};
  int16_t CurrentRoomX = 0;
  int16_t CurrentRoomY = 0;
  int16_t StartRoomX = 0;
  int16_t StartRoomY = 0;
  std::array<CellCode, RoomCells> RoomSnapshot{};
  std::array<GridPoint, TargetCapacity> TargetList{};
  int32_t TargetCount = 0;
  // Counts ClearWorld calls, i.e. level loads: lets a scan notice that the level it
  // was scanning was replaced while messages were processed.
  uint32_t Generation = 0;

  WorldGrid() { ClearWorld(); }

  void ClearWorld();
  // OutsideGrid when the room lies outside the grid; the current room then stays.
  RoomChange SetCurrentRoom(int rx, int ry);
  void TakeRoomSnapshot();

  // Current-room access. Callers keep (x, y) inside the room; At() checks in debug.
  CellCode& At(int x, int y);
  CellCode At(int x, int y) const;
  CellCode Snapshot(int x, int y) const { return RoomSnapshot[SnapshotIndex(x, y)]; }
  // Any room of the grid; rooms and cells outside the grid are refused.
  static bool InGrid(int rx, int ry, int x, int y);
  CellCode& RoomCell(int rx, int ry, int x, int y) { return Cells[CellIndex(rx, ry, x, y)]; }
  CellCode RoomCell(int rx, int ry, int x, int y) const { return Cells[CellIndex(rx, ry, x, y)]; }

  static bool OutsideRoom(int x, int y);
  bool CellIsFree(int x, int y) const;
  bool CellIsPlayer(int x, int y) const;
  bool CellIsEnemyWall(int x, int y) const;
  bool EnemyCanEnter(int x, int y) const;
  bool CellIsPlayerShot(int x, int y) const;
  bool CellIsLaserBeam(int x, int y) const;
  bool CellIsPigProducer(int x, int y) const;
  bool CellIsDartTarget(int x, int y) const;

  // Blocked unless room (rx, ry) and cell (x, y) lie inside the grid and the cell is
  // Floor; then it receives code.
  Placement PlaceInRoom(int rx, int ry, CellCode code, int x, int y);
  // Copies a mover on an edge of the current room into the neighbouring room(s);
  // returns the result of the last placement tried.
  Placement CrossRoomEdge(int x, int y, CellCode code);
};

// Code classes shared by the predicates and by the player code, read off the cell table.
constexpr bool CodeIsPlayer(int c) { return KindOf(c) == ThingKind::Player; }
constexpr bool CodeIsPlayerShot(int c) { return KindOf(c) == ThingKind::Bullet; }
constexpr bool CodeIsLaserBeam(int c) { return KindOf(c) == ThingKind::LaserBeam; }
constexpr bool CodeIsPigProducer(int c) { return ScanOf(c) == ScanMove::PigGrow; }
constexpr bool CodeIsDartTarget(int c) {
  const ThingKind k = KindOf(c);
  return k == ThingKind::Creature || k == ThingKind::Producer;
}
