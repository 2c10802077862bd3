#include "trok_autoplay/world_map.h"

#include "world/direction.h"

int WorldMap::StepInRoom(int cell, int dir) {
  const int x = LocalX(cell) + DirDx[dir];
  const int y = LocalY(cell) + DirDy[dir];
  if (x < 0 || x >= RoomW || y < 0 || y >= RoomH) return -1;
  return Cell(Cx(cell) + DirDx[dir], Cy(cell) + DirDy[dir]);
}

int WorldMap::Landing(int cell, int dir) {
  // Only straight crossings: two players together may take no other, and one player
  // loses nothing by it.
  if (dir % 2 == 0 || StepInRoom(cell, dir) >= 0) return -1;
  const int rx = RoomXOf(cell) + DirDx[dir];
  const int ry = RoomYOf(cell) + DirDy[dir];
  if (rx < 0 || rx >= Width / RoomW || ry < 0 || ry >= Height / RoomH) return -1;
  int x = LocalX(cell), y = LocalY(cell);
  if (DirDx[dir] > 0) x = 0;
  if (DirDx[dir] < 0) x = RoomW - 1;
  if (DirDy[dir] > 0) y = 0;
  if (DirDy[dir] < 0) y = RoomH - 1;
  return InRoom(rx, ry, x, y);
}

WorldMap MapOfGrid(const WorldGrid& grid) {
  WorldMap map;
  for (int ry = 0; ry < WorldMap::Height / WorldMap::RoomH; ++ry)
    for (int rx = 0; rx < WorldMap::Width / WorldMap::RoomW; ++rx)
      for (int y = 0; y < WorldMap::RoomH; ++y)
        for (int x = 0; x < WorldMap::RoomW; ++x)
          map.At(WorldMap::InRoom(rx, ry, x, y)) = grid.RoomCell(rx, ry, x, y);
  map.roomX = grid.CurrentRoomX;
  map.roomY = grid.CurrentRoomY;
  return map;
}
