#include "play/producers.h"

#include "play/creatures.h"
#include "world/direction.h"
#include "play/game.h"
#include "play/room_cells.h"

namespace {

constexpr int SpawnTries = 64;

struct Breed {
  int odds;        // produces when r mod odds = 1
  CellCode child;  // Floor: drawn at random (RandomP)
  bool crosses;    // also copies the child into a neighbouring room
};

Breed BreedOf(CellCode producer) {
  switch (producer) {
    case Cell::AntP: return {4, Cell::Ant, true};
    case Cell::DevilP: return {5, Cell::Devil, true};
    case Cell::CowP: return {5, Cell::Cow, true};
    case Cell::FrogP: return {6, Cell::Frog, false};
    case Cell::RandomP: return {5, Cell::Floor, true};
    case Cell::HorseP: return {5, Cell::Horse, true};
    case Cell::PigP5: return {14, Cell::Pig, true};
    default: return {0, Cell::Floor, false};
  }
}

}  // namespace

bool SpawnAround(Game& game, int x, int y, CellCode code) {
  for (int attempt = 0; attempt < SpawnTries; ++attempt) {
    const int direction = game.host->Random(8) + 1;
    const int nx = x + DirDx[direction], ny = y + DirDy[direction];
    if (game.World.CellIsFree(nx, ny)) {
      SetCell(game, nx, ny, code);
      return true;
    }
  }
  return false;
}

void ProducerStep(Game& game, int x, int y, CellCode code) {
  const Breed breed = BreedOf(code);
  if (breed.odds == 0) return;
  // The random producer walks first and then breeds where it stood at the scan.
  if (code == Cell::RandomP) WandererStep(game, x, y, code);
  if (game.host->Random(breed.odds) != 1) return;
  const CellCode child =
      code == Cell::RandomP ? static_cast<CellCode>(Cell::Ant + game.host->Random(5)) : breed.child;
  SpawnAround(game, x, y, child);
  if (breed.crosses) game.World.CrossRoomEdge(x, y, child);
}

void PigProducerGrow(Game& game, int x, int y, CellCode code) {
  if (!CodeIsPigProducer(code)) return;
  if (game.host->Random(8) == 1) SetCell(game, x, y, static_cast<CellCode>(code + 1));
}

void StarSpread(Game& game, int x, int y) {
  if (game.host->Random(4) != 1) return;
  SpawnAround(game, x, y, Cell::Star);
  if (x == 1 || x == GridRoomWidth - 1 || y == 1 || y == GridRoomHeight - 1)
    game.World.CrossRoomEdge(x, y, Cell::Star);
}

void ShootableWallTest(Game& game, int x, int y) {
  const WorldGrid& world = game.World;
  static constexpr int Steps[4][2] = {{0, -1}, {0, +1}, {-1, 0}, {+1, 0}};
  int walls = 0;
  for (const auto& step : Steps) {
    const int nx = x + step[0], ny = y + step[1];
    if (WorldGrid::OutsideRoom(nx, ny)) continue;
    const CellCode seen = world.Snapshot(nx, ny);
    if (seen == Cell::BrickSolid || seen == Cell::BrickShootable) ++walls;
  }
  if (walls < 2) SetCell(game, x, y, Cell::Floor);
}
