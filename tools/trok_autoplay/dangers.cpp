#include "trok_autoplay/dangers.h"

#include "play/darts_lasers.h"
#include "world/direction.h"

namespace {

// A beam must not find a player on its cell: entering and leaving takes two player steps
// of four ticks, and a step may come late by one more.
constexpr int LaserMarginTicks = 13;

// What hurts a player it walks into.
bool Chases(CellCode c) { return CellRowOf(c).contactDamage > 0; }

}  // namespace

int TicksToLaserFire(const WorldClock& clock, int set) {
  const int c = set == 1 ? clock.c0 : set == 2 ? clock.c1 : set == 3 ? clock.c2 : clock.c3;
  return (64 - c % 64) % 64;
}

int LaserSetOf(CellCode code, bool& right) {
  right = LaserFiresRight(code);
  return LaserSetOfProducer(code);
}

Dangers DangersOf(const WorldMap& map, const WorldClock& clock) {
  Dangers d;
  d.deadly.assign(map.cells.size(), 0);
  d.extra.assign(map.cells.size(), 0);
  auto add = [&](int cell, int cost) {
    if (cell >= 0) d.extra[static_cast<std::size_t>(cell)] += cost;
  };
  // What stays put costs the same in every room, so that a way does not look cheaper
  // from one side of a crossing than from the other.
  for (std::size_t i = 0; i < map.cells.size(); ++i) {
    const int cell = static_cast<int>(i);
    const CellCode c = map.At(cell);
    if (c == Cell::FireP) {
      for (int k = 1; k <= 8; ++k) {
        const int n = WorldMap::StepInRoom(cell, k);
        add(n, 3);
        if (n >= 0) add(WorldMap::StepInRoom(n, k), 6);
      }
    } else if (Chases(c)) {
      for (int k = 1; k <= 8; ++k) add(WorldMap::StepInRoom(cell, k), 2);
    }
  }
  for (int y = 0; y < WorldMap::RoomH; ++y)
    for (int x = 0; x < WorldMap::RoomW; ++x) {
      const int cell = WorldMap::InRoom(map.roomX, map.roomY, x, y);
      const CellCode c = map.At(cell);
      bool right = false;
      if (const int set = LaserSetOf(c, right)) {
        const int beam = WorldMap::StepInRoom(cell, right ? Dir::Right : Dir::Down);
        if (beam < 0) continue;
        add(beam, 4);
        if (TicksToLaserFire(clock, set) <= LaserMarginTicks || CodeIsLaserBeam(map.At(beam)))
          d.deadly[static_cast<std::size_t>(beam)] = 1;
      } else if (const int dir = DartDirection(c)) {
        const int next = WorldMap::StepInRoom(cell, dir);
        if (next >= 0) {
          d.deadly[static_cast<std::size_t>(next)] = 1;
          add(next, 20);
          add(WorldMap::StepInRoom(next, dir), 8);
        }
      }
    }
  return d;
}
