#include "trok_autoplay/path_finder.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <utility>

#include "world/direction.h"

namespace {

constexpr int ShotCost = 5;     // a shot, and the wait for it to fly
constexpr int WaitCost = 12;    // something that moves on by itself
constexpr int LostKeyCost = 40; // landing on a key destroys it

bool GoalAt(const std::vector<char>& isGoal, int cell) {
  return !isGoal.empty() && isGoal[static_cast<std::size_t>(cell)];
}

// What it takes to get past something a player cannot step on, -1 for never.
int ClearingCost(CellCode c) {
  switch (ShotOf(c)) {
    case ShotEffect::Scatters:
      return 40;  // it scatters into more producers
    case ShotEffect::Revives:
      return 20 + ShotCost * 5;  // it turns into a Chigger first
    case ShotEffect::Flies: case ShotEffect::Stops: case ShotEffect::Absorbs: case ShotEffect::Becomes:
    case ShotEffect::Explodes:
      break;
  }
  if (ShotsToClear(c) > 0) return 1 + ShotCost * ShotsToClear(c);
  return PassesBy(c) ? WaitCost : -1;
}

// The cost of standing on `cell` next, -1 when the player cannot get there.
int ArrivalCost(const WorldMap& map, int cell, const PathRules& rules, bool goal) {
  const CellCode c = map.At(cell);
  int cost = -1;
  switch (TouchOf(c)) {
    case Touch::Walk: case Touch::HealthKit: case Touch::Bomb: case Touch::Gold: case Touch::Shield:
    case Touch::EatPigProducer:
      cost = 1;
      break;
    case Touch::Key:
      cost = rules.leaveKeys && !goal ? LostKeyCost : 1;
      break;
    case Touch::Door:
      cost = rules.keys > 0 && (rules.anyDoor || cell == rules.door) ? 1 : -1;
      break;
    case Touch::Finish:
      cost = goal ? 1 : -1;
      break;
    case Touch::Blocked: case Touch::Slide: case Touch::Hurts:
      cost = ClearingCost(c);
      break;
  }
  if (cost > 0 && rules.extra) cost += (*rules.extra)[static_cast<std::size_t>(cell)];
  return cost;
}

}  // namespace

int ShotsToClear(CellCode code) {
  // Each shot turns it into what the next one hits, until only floor is left.
  int shots = 0;
  for (int c = code; shots < CellCodeCount; ++shots) {
    const CellRow& row = CellRowOf(c);
    if (row.shot == ShotEffect::Scatters) return shots + 1;
    if (row.shot != ShotEffect::Becomes) return 0;
    if (row.shotBecomes == Cell::Floor) return shots + 1;
    c = row.shotBecomes;
  }
  return 0;
}

// Safe to step on and stay: floor and what is picked up.
bool Standable(CellCode c) {
  switch (TouchOf(c)) {
    case Touch::Walk: case Touch::HealthKit: case Touch::Bomb: case Touch::Gold: case Touch::Shield:
    case Touch::Key:
      return true;
    case Touch::Blocked: case Touch::Door: case Touch::Finish: case Touch::Slide: case Touch::Hurts:
    case Touch::EatPigProducer:
      return false;
  }
  return false;
}

bool PassesBy(CellCode c) {
  const ThingKind k = KindOf(c);
  return c == Cell::Pig || k == ThingKind::Dart || k == ThingKind::Bullet || k == ThingKind::Player ||
         k == ThingKind::LaserBeam;
}

int SlideEnd(const WorldMap& map, int slide, int dir) {
  int cell = slide;
  int e = dir;
  for (int examined = 0; examined < 2200; ++examined) {
    const CellCode c = map.At(cell);
    if (TouchOf(c) != Touch::Slide) return PlayerCanEnterCode(c) ? cell : -1;
    if (const int turn = SlideDirectionOf(c)) e = turn;
    cell = WorldMap::StepInRoom(cell, e);
    if (cell < 0) return -1;
  }
  return -1;
}

namespace {

// Dijkstra from `from`; stops at the first goal reached. `how` tells how each cell was reached.
int Search(const WorldMap& map, int from, const std::vector<char>& isGoal, const PathRules& rules, bool stayInRoom,
           std::vector<int>& dist, std::vector<PathStep>& how) {
  constexpr int N = WorldMap::Width * WorldMap::Height;
  dist.assign(N, -1);
  how.assign(N, PathStep{});
  using Entry = std::pair<int, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
  dist[static_cast<std::size_t>(from)] = 0;
  open.push({0, from});
  while (!open.empty()) {
    const auto [d, u] = open.top();
    open.pop();
    if (d != dist[static_cast<std::size_t>(u)]) continue;
    if (!isGoal.empty() && isGoal[static_cast<std::size_t>(u)]) return u;
    // Nothing is walked through where the player would stop against its will.
    if (u != from && map.At(u) == Cell::Finish) continue;
    for (int dir = 1; dir <= 8; ++dir) {
      PathStep step{u, dir, -1, StepKind::Walk};
      int cost = -1;
      const int t = WorldMap::StepInRoom(u, dir);
      if (t < 0) {
        step.to = stayInRoom ? -1 : WorldMap::Landing(u, dir);
        if (step.to < 0) continue;
        step.kind = StepKind::Cross;
        const CellCode landed = map.At(step.to);
        if (landed == Cell::Finish || landed == Cell::BrickSolidEdge) continue;
        cost = 1 + (landed == Cell::Key ? LostKeyCost : 0);
        if (rules.extra) cost += (*rules.extra)[static_cast<std::size_t>(step.to)];
      } else if (TouchOf(map.At(t)) == Touch::Slide) {
        step.to = SlideEnd(map, t, dir);
        if (step.to < 0 || step.to == u) continue;
        step.kind = StepKind::Slide;
        cost = ArrivalCost(map, step.to, rules, GoalAt(isGoal, step.to));
        if (cost < 0 || !PlayerCanEnterCode(map.At(step.to))) continue;
        if (!rules.tried || !(*rules.tried)[static_cast<std::size_t>(step.to)]) {
          if (rules.untriedSlideCost < 0) continue;
          cost += rules.untriedSlideCost;
        }
      } else {
        step.to = t;
        cost = ArrivalCost(map, t, rules, GoalAt(isGoal, t));
      }
      if (cost < 0) continue;
      const int nd = d + cost;
      int& known = dist[static_cast<std::size_t>(step.to)];
      if (known >= 0 && known <= nd) continue;
      known = nd;
      how[static_cast<std::size_t>(step.to)] = step;
      open.push({nd, step.to});
    }
  }
  return -1;
}

}  // namespace

Path FindPath(const WorldMap& map, int from, const std::vector<int>& goals, const PathRules& rules) {
  std::vector<char> isGoal(WorldMap::Width * WorldMap::Height, 0);
  for (int g : goals)
    if (g >= 0 && g < static_cast<int>(isGoal.size())) isGoal[static_cast<std::size_t>(g)] = 1;
  std::vector<int> dist;
  std::vector<PathStep> how;
  Path path;
  const int reached = Search(map, from, isGoal, rules, false, dist, how);
  if (reached < 0) return path;
  path.found = true;
  path.cost = dist[static_cast<std::size_t>(reached)];
  for (int c = reached; c != from; c = how[static_cast<std::size_t>(c)].from) path.steps.push_back(how[static_cast<std::size_t>(c)]);
  std::reverse(path.steps.begin(), path.steps.end());
  return path;
}

std::vector<int> CostsInRoom(const WorldMap& map, int from, const PathRules& rules) {
  std::vector<int> dist;
  std::vector<PathStep> how;
  Search(map, from, {}, rules, true, dist, how);
  return dist;
}
