#include "world/world_grid.h"

#include <cassert>

void WorldGrid::ClearWorld() {
  RoomsAcross = GridRoomsAcross;
  RoomsDown = GridRoomsDown;
  RoomWidth = GridRoomWidth;
  RoomHeight = GridRoomHeight;
  TargetCount = 0;
  ++Generation;
  CurrentRoomX = CurrentRoomY = StartRoomX = StartRoomY = 0;
  const int worldWidth = RoomsAcross * RoomWidth;
  const int worldHeight = RoomsDown * RoomHeight;
  for (int rx = 0; rx < RoomsAcross; ++rx)
    for (int ry = 0; ry < RoomsDown; ++ry)
      for (int x = 0; x < RoomWidth; ++x)
        for (int y = 0; y < RoomHeight; ++y) {
          const int wx = rx * RoomWidth + x;
          const int wy = ry * RoomHeight + y;
          const bool frame = wx == 0 || wy == 0 || wx == worldWidth - 1 || wy == worldHeight - 1;
          RoomCell(rx, ry, x, y) = frame ? Cell::BrickSolidEdge : Cell::Floor;
        }
}

RoomChange WorldGrid::SetCurrentRoom(int rx, int ry) {
  // Negative rooms are refused as well: no caller may make one current.
  if (rx < 0 || ry < 0 || rx >= RoomsAcross || ry >= RoomsDown) return RoomChange::OutsideGrid;
  CurrentRoomX = static_cast<int16_t>(rx);
  CurrentRoomY = static_cast<int16_t>(ry);
  return RoomChange::Made;
}

void WorldGrid::TakeRoomSnapshot() {
  for (int x = 0; x < GridRoomWidth; ++x)
    for (int y = 0; y < GridRoomHeight; ++y) RoomSnapshot[SnapshotIndex(x, y)] = At(x, y);
}

CellCode& WorldGrid::At(int x, int y) {
  assert(!OutsideRoom(x, y));
  return Cells[CellIndex(CurrentRoomX, CurrentRoomY, x, y)];
}

CellCode WorldGrid::At(int x, int y) const {
  assert(!OutsideRoom(x, y));
  return Cells[CellIndex(CurrentRoomX, CurrentRoomY, x, y)];
}

bool WorldGrid::InGrid(int rx, int ry, int x, int y) {
  return rx >= 0 && ry >= 0 && rx < GridRoomsAcross && ry < GridRoomsDown && !OutsideRoom(x, y);
}

bool WorldGrid::OutsideRoom(int x, int y) {
  return x < 0 || x >= GridRoomWidth || y < 0 || y >= GridRoomHeight;
}

bool WorldGrid::CellIsFree(int x, int y) const { return !OutsideRoom(x, y) && At(x, y) == Cell::Floor; }
bool WorldGrid::CellIsPlayer(int x, int y) const { return !OutsideRoom(x, y) && CodeIsPlayer(At(x, y)); }
bool WorldGrid::CellIsEnemyWall(int x, int y) const {
  return !OutsideRoom(x, y) && At(x, y) == Cell::BrickEnemyTrans;
}
bool WorldGrid::EnemyCanEnter(int x, int y) const {
  return CellIsFree(x, y) || CellIsPlayer(x, y) || CellIsEnemyWall(x, y);
}
bool WorldGrid::CellIsPlayerShot(int x, int y) const {
  return !OutsideRoom(x, y) && CodeIsPlayerShot(At(x, y));
}
bool WorldGrid::CellIsLaserBeam(int x, int y) const {
  return !OutsideRoom(x, y) && CodeIsLaserBeam(At(x, y));
}
bool WorldGrid::CellIsPigProducer(int x, int y) const {
  return !OutsideRoom(x, y) && CodeIsPigProducer(At(x, y));
}
bool WorldGrid::CellIsDartTarget(int x, int y) const {
  return !OutsideRoom(x, y) && CodeIsDartTarget(At(x, y));
}

Placement WorldGrid::PlaceInRoom(int rx, int ry, CellCode code, int x, int y) {
  if (!InGrid(rx, ry, x, y)) return Placement::Blocked;
  CellCode& cell = RoomCell(rx, ry, x, y);
  if (cell != Cell::Floor) return Placement::Blocked;
  cell = code;
  return Placement::Placed;
}

Placement WorldGrid::CrossRoomEdge(int x, int y, CellCode code) {
  const int w = RoomWidth, h = RoomHeight;
  const int rx = CurrentRoomX, ry = CurrentRoomY;
  Placement blocked = Placement::Blocked;
  if (x == 0 && y == 0)
    blocked = PlaceInRoom(rx - 1, ry - 1, code, w - 1, h - 1);
  else if (x == w - 1 && y == 0)
    blocked = PlaceInRoom(rx + 1, ry - 1, code, 1, h - 1);
  else if (x == w - 1 && y == h - 1)
    blocked = PlaceInRoom(rx + 1, ry + 1, code, 1, 1);
  else if (x == 0 && y == h - 1)
    blocked = PlaceInRoom(rx - 1, ry + 1, code, w - 1, 1);
  if (y == 0) blocked = PlaceInRoom(rx, ry - 1, code, x, h - 1);
  if (x == w - 1) blocked = PlaceInRoom(rx + 1, ry, code, 1, y);
  if (y == h - 1) blocked = PlaceInRoom(rx, ry + 1, code, x, 1);
  if (x == 0) blocked = PlaceInRoom(rx - 1, ry, code, w - 1, y);
  return blocked;
}
