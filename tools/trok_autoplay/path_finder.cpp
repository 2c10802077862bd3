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

bool IsSlide(CellCode c) { return KindOf(c) == ThingKind::Slide; }

// The cost of standing on `cell` next, -1 when the player cannot get there.
int ArrivalCost(const WorldMap& map, int cell, const PathRules& rules, bool goal) {
  const CellCode c = map.At(cell);
  int cost = -1;
  switch (c) {
    case Cell::Floor: case Cell::Health: case Cell::Bomb: case Cell::Money: case Cell::Shield:
    case Cell::PigP1: case Cell::PigP2: case Cell::PigP3: case Cell::PigP4:
      cost = 1;
      break;
    case Cell::Key:
      cost = rules.leaveKeys && !goal ? LostKeyCost : 1;
      break;
    case Cell::Door:
      cost = rules.keys > 0 && (rules.anyDoor || cell == rules.door) ? 1 : -1;
      break;
    case Cell::Finish:
      cost = goal ? 1 : -1;
      break;
    case Cell::HorseP:
      cost = 40;  // it scatters into more producers
      break;
    case Cell::Heart:
      cost = 20 + ShotCost * 5;  // it turns into a Chigger first
      break;
    default:
      if (ShotsToClear(c) > 0) cost = 1 + ShotCost * ShotsToClear(c);
      else if (PassesBy(c)) cost = WaitCost;
  }
  if (cost > 0 && rules.extra) cost += (*rules.extra)[static_cast<std::size_t>(cell)];
  return cost;
}

}  // namespace

int ShotsToClear(CellCode code) {
  switch (code) {
    case Cell::Ant: case Cell::Frog: case Cell::Horse: case Cell::AntP: case Cell::FrogP:
    case Cell::RandomP: case Cell::HorseP: case Cell::BrickShootable:
    case Cell::PigP1: case Cell::PigP2: case Cell::PigP3: case Cell::PigP4:
      return 1;
    case Cell::Devil: case Cell::DevilP: return 2;
    case Cell::Cow: case Cell::CowP: case Cell::Star: return 3;
    case Cell::Chigger: return 4;
    default: return 0;
  }
}

bool PlayerCanEnterCode(CellCode c) {
  switch (c) {
    case Cell::Floor: case Cell::Health: case Cell::Bomb: case Cell::Money: case Cell::Key:
    case Cell::Door: case Cell::Finish: case Cell::DeathField: case Cell::Shield:
      return true;
    default:
      return CodeIsPigProducer(c) || CodeIsLaserBeam(c) || IsSlide(c);
  }
}

bool PassesBy(CellCode c) {
  return c == Cell::Pig || (c >= Cell::Fire8 && c <= Cell::Fire3) || CodeIsPlayerShot(c) ||
         CodeIsPlayer(c) || CodeIsLaserBeam(c);
}

int SlideEnd(const WorldMap& map, int slide, int dir) {
  int cell = slide;
  int e = dir;
  for (int examined = 0; examined < 2200; ++examined) {
    switch (map.At(cell)) {
      case Cell::SlideFieldOmni: break;
      case Cell::SlideRight: e = 3; break;
      case Cell::SlideLeft: e = 7; break;
      case Cell::SlideUp: e = 1; break;
      case Cell::SlideDown: e = 5; break;
      default: return PlayerCanEnterCode(map.At(cell)) ? cell : -1;
    }
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
      } else if (IsSlide(map.At(t))) {
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
