#include "trok_autoplay/pilot.h"

#include "world/direction.h"

namespace {

constexpr int ProducerRange = 3;
constexpr int HealBelow = 50;

bool IsCreature(CellCode c) {
  return (c >= Cell::Ant && c <= Cell::Horse) || c == Cell::RandomP || c == Cell::Star;
}

bool IsProducer(CellCode c) { return c >= Cell::AntP && c <= Cell::FrogP; }

std::string Where(int cell) {
  return "(" + std::to_string(WorldMap::LocalX(cell)) + "," + std::to_string(WorldMap::LocalY(cell)) + ")";
}

}  // namespace

int PlayerCell(const WorldMap& map, const PlayerState& p) { return WorldMap::InRoom(map.roomX, map.roomY, p.X, p.Y); }

int ThreatInLine(const WorldMap& map, int cell, int& distance) {
  int best = 0;
  distance = ThreatRange + 1;
  for (int dir = 1; dir <= 8; ++dir) {
    int c = cell;
    for (int k = 1; k <= ThreatRange && k < distance; ++k) {
      c = WorldMap::StepInRoom(c, dir);
      if (c < 0) break;
      const CellCode code = map.At(c);
      if (IsCreature(code) || (IsProducer(code) && k <= ProducerRange)) {
        best = dir;
        distance = k;
        break;
      }
      if (code != Cell::Floor && !CodeIsPlayerShot(code)) break;
    }
  }
  return best;
}

Intent Reflexes(const WorldMap& map, const PlayerState& me, const Dangers& dangers) {
  Intent intent;
  if (me.Life < HealBelow && me.HealthKits > 0) {
    intent.useHealth = true;
    intent.doing = "use a health kit";
    return intent;
  }
  const int here = PlayerCell(map, me);
  if (dangers.deadly[static_cast<std::size_t>(here)]) {
    int bestCost = 1 << 30;
    for (int dir = 1; dir <= 8; ++dir) {
      const int n = WorldMap::StepInRoom(here, dir);
      if (n < 0 || !Standable(map.At(n)) || dangers.deadly[static_cast<std::size_t>(n)]) continue;
      const int cost = dangers.extra[static_cast<std::size_t>(n)];
      if (cost < bestCost) {
        bestCost = cost;
        intent.dir = dir;
      }
    }
    if (intent.dir) {
      intent.doing = "dodge to " + Where(WorldMap::StepInRoom(here, intent.dir));
      return intent;
    }
  }
  int distance = 0;
  if (const int dir = ThreatInLine(map, here, distance)) {
    intent.dir = dir;
    intent.fire = true;
    int c = here;
    for (int k = 0; k < distance; ++k) c = WorldMap::StepInRoom(c, dir);
    intent.doing = "shoot at code " + std::to_string(map.At(c)) + " at " + Where(c);
  }
  return intent;
}

Intent Steer(const WorldMap& map, const PlayerState& me, const Dangers& dangers, const std::vector<int>& goals,
             const PathRules& rules, Path& path, int passable) {
  Intent intent;
  const int here = PlayerCell(map, me);
  if (passable >= 0) {
    WorldMap planning = map;
    planning.At(passable) = Cell::Floor;
    path = FindPath(planning, here, goals, rules);
  } else {
    path = FindPath(map, here, goals, rules);
  }
  if (!path.found) {
    intent.doing = "no way on";
    return intent;
  }
  if (path.steps.empty()) {
    intent.doing = "at the goal";
    return intent;
  }
  const PathStep& first = path.steps.front();
  const CellCode ahead = first.kind == StepKind::Walk ? map.At(first.to) : Cell::Floor;
  if (ShotsToClear(ahead) > 0 || ahead == Cell::Heart) {
    intent.dir = first.dir;
    intent.fire = true;
    intent.doing = "shoot away code " + std::to_string(ahead) + " at " + Where(first.to);
  } else if (PassesBy(ahead) || (first.kind == StepKind::Slide && first.to == passable)) {
    intent.doing = "wait for code " + std::to_string(ahead) + " to pass";
  } else if (first.kind != StepKind::Cross && dangers.deadly[static_cast<std::size_t>(first.to)]) {
    intent.doing = "wait: " + Where(first.to) + " is about to be hit";
  } else {
    intent.dir = first.dir;
  }
  return intent;
}
