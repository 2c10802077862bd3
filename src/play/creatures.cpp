#include "play/creatures.h"

#include <cstdlib>

#include "play/player_control.h"
#include "world/direction.h"
#include "play/game.h"
#include "play/room_cells.h"

namespace {

constexpr int MaxWallPasses = 600;

int Distance(int ax, int ay, int bx, int by) { return std::abs(ax - bx) + std::abs(ay - by); }

GridPoint Point(int x, int y) { return {static_cast<int16_t>(x), static_cast<int16_t>(y)}; }

void AddTarget(WorldGrid& world, int32_t& n, int x, int y) {
  if (n >= TargetCapacity) return;
  world.TargetList[n++] = Point(x, y);
}

// A creature that walks into a player is used up in the blow.
void MoveOrStrike(Game& game, int nx, int ny, CellCode code, bool withSound) {
  const CellCode found = game.World.At(nx, ny);
  if (CodeIsPlayer(found))
    DamagePlayer(game, ContactDamage(code), found, withSound);
  else
    SetCell(game, nx, ny, code);
}

}  // namespace

int ContactDamage(CellCode code) { return CellRowOf(code).contactDamage; }

int32_t CollectTargets(Game& game) {
  WorldGrid& world = game.World;
  int32_t n = 0;
  for (int y = 0; y < GridRoomHeight; ++y)
    for (int x = 0; x < GridRoomWidth; ++x)
      if (CodeIsPlayer(world.At(x, y))) AddTarget(world, n, x, y);
  // A player off the grid (at the Finish) still draws the chasers to where it was.
  if (!game.Player1.Dead) AddTarget(world, n, game.Player1.X, game.Player1.Y);
  if (game.TwoPlayers() && !game.Player2.Dead) AddTarget(world, n, game.Player2.X, game.Player2.Y);
  world.TargetCount = n;
  return n;
}

GridPoint NearestTarget(const WorldGrid& world, int x, int y) {
  if (world.TargetCount <= 0) return Point(x, y);
  GridPoint best = world.TargetList[0];
  for (int i = 0; i < world.TargetCount && i < TargetCapacity; ++i) {
    const GridPoint& t = world.TargetList[i];
    if (Distance(t.X, t.Y, x, y) <= Distance(best.X, best.Y, x, y)) best = t;
  }
  return best;
}

GridPoint StepTowards(const WorldGrid& world, int tx, int ty, int x, int y) {
  int bestX = x, bestY = y;
  for (int pass = 0; pass < MaxWallPasses; ++pass) {
    const int cx = bestX, cy = bestY;
    bool found = false;
    for (int j = cy - 1; j <= cy + 1; ++j)
      for (int i = cx - 1; i <= cx + 1; ++i) {
        if (WorldGrid::OutsideRoom(i, j) || !world.EnemyCanEnter(i, j)) continue;
        if (Distance(i, j, tx, ty) < Distance(bestX, bestY, tx, ty)) {
          bestX = i;
          bestY = j;
          found = true;
        }
      }
    if (!found) return Point(x, y);
    // Each pass through a wall comes strictly nearer, so this ends well before the cap.
    if (!world.CellIsEnemyWall(bestX, bestY)) return Point(bestX, bestY);
  }
  return Point(x, y);
}

GridPoint PassEnemyWalls(const WorldGrid& world, int direction, int wx, int wy, int x, int y) {
  int cx = wx, cy = wy;
  while (world.CellIsEnemyWall(cx, cy)) {
    cx += DirDx[direction];
    cy += DirDy[direction];
  }
  if (world.CellIsFree(cx, cy) || world.CellIsPlayer(cx, cy)) return Point(cx, cy);
  return Point(x, y);
}

void ChaserStep(Game& game, int x, int y, CellCode code) {
  const GridPoint target = NearestTarget(game.World, x, y);
  const GridPoint next = StepTowards(game.World, target.X, target.Y, x, y);
  if (next.X == x && next.Y == y) return;
  ClearCellIfHolds(game, x, y, code);
  MoveOrStrike(game, next.X, next.Y, code, true);
}

void WandererStep(Game& game, int x, int y, CellCode code) {
  if (game.host->Random(3) != 1) return;
  WorldGrid& world = game.World;
  int nx = x, ny = y;
  bool stays = true;
  const int direction = game.host->Random(8) + 1;
  const int tx = x + DirDx[direction], ty = y + DirDy[direction];
  // Column 0 and row 0 count as outside: only the cell it stands on decides a crossing.
  if (tx < 1 || tx > GridRoomWidth - 1 || ty < 1 || ty > GridRoomHeight - 1) {
    stays = world.CrossRoomEdge(x, y, code) == Placement::Blocked;
  } else if (world.EnemyCanEnter(tx, ty)) {
    nx = tx;
    ny = ty;
    if (world.CellIsEnemyWall(tx, ty)) {
      const GridPoint beyond = PassEnemyWalls(world, direction, tx, ty, x, y);
      nx = beyond.X;
      ny = beyond.Y;
    }
  }
  if (!stays) {
    ClearCellIfHolds(game, x, y, code);
    return;
  }
  if (nx == x && ny == y) return;
  ClearCellIfHolds(game, x, y, code);
  MoveOrStrike(game, nx, ny, code, false);
}
