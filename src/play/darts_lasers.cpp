#include "play/darts_lasers.h"

#include <array>
#include <optional>

#include "play/player_control.h"
#include "world/direction.h"
#include "play/game.h"
#include "play/room_cells.h"

namespace {

constexpr int DartTries = 15;
constexpr int LastX = GridRoomWidth - 1;
constexpr int LastY = GridRoomHeight - 1;

constexpr CellCode DartCodes[9] = {0,          Cell::Fire1, Cell::Fire2, Cell::Fire3, Cell::Fire4,
                                   Cell::Fire5, Cell::Fire6, Cell::Fire7, Cell::Fire8};

// The table's laser sets and aims, packed a byte a code for the room scan.
constexpr auto LaserSets = [] {
  std::array<uint8_t, CellCodeCount> column{};
  for (const CellRow& row : CellTable) column[row.code] = static_cast<uint8_t>(row.laserSet);
  return column;
}();
constexpr auto Aims = [] {
  std::array<uint8_t, CellCodeCount> column{};
  for (const CellRow& row : CellTable) column[row.code] = static_cast<uint8_t>(row.aim);
  return column;
}();

struct CrossingTarget {
  int dRoomX, dRoomY, x, y;
};

// The copy a dart leaves in the neighbouring room as it reaches the border; row or
// column -1 can come out of this for darts already in row or column 0, and PlaceInRoom
// refuses those.
std::optional<CrossingTarget> DartCrossing(int direction, int x, int y) {
  const bool left = x == 1, right = x == LastX, top = y == 1, bottom = y == LastY;
  switch (direction) {
    case Dir::Up:
      if (top) return CrossingTarget{0, -1, x, LastY};
      break;
    case Dir::Left:
      if (left) return CrossingTarget{-1, 0, LastX, y};
      break;
    case Dir::Down:
      if (bottom) return CrossingTarget{0, +1, x, 1};
      break;
    case Dir::Right:
      if (right) return CrossingTarget{+1, 0, 1, y};
      break;
    case Dir::UpLeft:
      if (left && top) return CrossingTarget{-1, -1, LastX, LastY};
      if (left) return CrossingTarget{-1, 0, LastX, y - 1};
      if (top) return CrossingTarget{0, -1, x - 1, LastY};
      break;
    case Dir::UpRight:
      if (right && top) return CrossingTarget{+1, -1, 1, LastY};
      if (top) return CrossingTarget{0, -1, x + 1, LastY};
      if (right) return CrossingTarget{+1, 0, 1, y - 1};
      break;
    case Dir::DownRight:
      if (right && bottom) return CrossingTarget{+1, +1, 1, 1};
      if (bottom) return CrossingTarget{0, +1, x + 1, 1};
      if (right) return CrossingTarget{+1, 0, 1, y + 1};
      break;
    case Dir::DownLeft:
      if (left && bottom) return CrossingTarget{-1, +1, LastX, 1};
      if (bottom) return CrossingTarget{0, +1, x - 1, 1};
      if (left) return CrossingTarget{-1, 0, LastX, y + 1};
      break;
    default:
      break;
  }
  return std::nullopt;
}

}  // namespace

CellCode DartCode(int direction) { return IsDirection(direction) ? DartCodes[direction] : 0; }

// A known kind is a known code, so the columns are read inside their bounds.
int DartDirection(CellCode code) { return CodeIsDart(code) ? Aims[code] : Dir::None; }

bool CodeIsDart(int code) { return KindOf(code) == ThingKind::Dart; }

int LaserSetOfProducer(int code) {
  return KindOf(code) == ThingKind::Laser ? LaserSets[code] : 0;
}

int LaserSetOfBeam(int code) {
  return KindOf(code) == ThingKind::LaserBeam ? LaserSets[code] : 0;
}

bool LaserFiresRight(CellCode producer) { return IsLaserFiring(producer, Dir::Right); }

CellCode LaserBeamOf(CellCode producer) {
  // The beam of the producer's set that stands the way it fires.
  static constexpr auto beams = [] {
    std::array<CellCode, CellCodeCount> column{};
    for (const CellRow& laser : CellTable)
      if (laser.kind == ThingKind::Laser)
        for (const CellRow& beam : CellTable)
          if (beam.kind == ThingKind::LaserBeam && beam.laserSet == laser.laserSet &&
              beam.aim == laser.aim)
            column[laser.code] = beam.code;
    return column;
  }();
  return IsKnownCode(producer) ? beams[producer] : Cell::Floor;
}

void FireDarts(Game& game, int x, int y) {
  if (game.host->Random(2) != 0) return;
  WorldGrid& world = game.World;
  for (int attempt = 0; attempt < DartTries; ++attempt) {
    const int direction = game.host->Random(8) + 1;
    const int dx = DirDx[direction], dy = DirDy[direction];
    const int tx = x + dx, ty = y + dy;
    const CellCode dart = DartCode(direction);
    // Column 0 and row 0 are never fired into.
    if (tx < 1 || tx > LastX || ty < 1 || ty > LastY || world.At(tx, ty) != Cell::Floor) continue;
    // Right and downward darts do not tailgate one of their own kind.
    if (direction >= 3 && direction <= 6) {
      const int ax = x + 2 * dx, ay = y + 2 * dy;
      if (!WorldGrid::OutsideRoom(ax, ay) && world.At(ax, ay) == dart) continue;
    }
    SetCell(game, tx, ty, dart);
    return;
  }
}

void MoveDart(Game& game, int x, int y, CellCode code) {
  WorldGrid& world = game.World;
  const int direction = DartDirection(code);
  if (direction == 0) return;
  ClearCellIfHolds(game, x, y, code);
  const int tx = x + DirDx[direction], ty = y + DirDy[direction];
  if (!WorldGrid::OutsideRoom(tx, ty)) {
    const CellCode found = world.At(tx, ty);
    if (CodeIsPlayer(found)) {
      DamagePlayer(game, DartDamage, found, true);
      SetCell(game, tx, ty, code);
    } else if ((CodeIsDartTarget(found) || found == Cell::Floor || CodeIsPlayerShot(found)) &&
               found != Cell::FireP) {
      SetCell(game, tx, ty, code);
    }
  }
  if (const auto t = DartCrossing(direction, x, y))
    world.PlaceInRoom(world.CurrentRoomX + t->dRoomX, world.CurrentRoomY + t->dRoomY, code, t->x, t->y);
}

void LaserFire(Game& game, int x, int y, CellCode code) {
  const bool right = LaserFiresRight(code);
  const int bx = right ? x + 1 : x, by = right ? y : y + 1;
  if (WorldGrid::OutsideRoom(bx, by)) return;
  const CellCode found = game.World.At(bx, by);
  if (CodeIsPlayer(found)) DamagePlayer(game, LaserDamage, found, true);
  SetCell(game, bx, by, LaserBeamOf(code));
}

void LaserOff(Game& game, int x, int y) { SetCell(game, x, y, Cell::Floor); }
