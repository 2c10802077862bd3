#include "trok_autoplay/route_plan.h"

#include <algorithm>

int WorldCellOf(const RouteCell& c) {
  // The level's rooms sit inside a ring of floor rooms.
  return WorldMap::InRoom(c.roomX + 1, c.roomY + 1, c.x, c.y);
}

std::string CellName(int cell) {
  return "room (" + std::to_string(WorldMap::RoomXOf(cell) - 1) + "," + std::to_string(WorldMap::RoomYOf(cell) - 1) +
         ") cell (" + std::to_string(WorldMap::LocalX(cell)) + "," + std::to_string(WorldMap::LocalY(cell)) + ")";
}

const char* GoalName(Goal::Kind kind) {
  switch (kind) {
    case Goal::Kind::Key: return "key";
    case Goal::Kind::Door: return "door";
    case Goal::Kind::Finish: return "finish";
  }
  return "?";
}

RoutePlan PlanFromRoute(const std::vector<RouteCell>& route, const LevelBytes& level) {
  RoutePlan plan;
  std::vector<int> seen;
  for (const RouteCell& c : route) {
    const bool inLevel = c.roomX >= 0 && c.roomX <= 2 && c.roomY >= 0 && c.roomY <= 2;
    const int value = inLevel ? LevelValue(level[static_cast<std::size_t>(c.LevelRow() * 60 + c.LevelColumn())]) : 0;
    const int cell = WorldCellOf(c);
    Goal goal{Goal::Kind::Finish, cell};
    if (c.step == RouteStep::Finish) {
      plan.goals.push_back(goal);
      plan.ok = true;
      break;
    }
    if (c.step == RouteStep::Door) goal.kind = Goal::Kind::Door;
    else if (value == Cell::Key && c.step != RouteStep::Cross) goal.kind = Goal::Kind::Key;
    else continue;
    if (std::find(seen.begin(), seen.end(), cell) != seen.end()) continue;
    seen.push_back(cell);
    plan.goals.push_back(goal);
  }
  if (!plan.ok) plan.reason = "the route has no Finish";
  return plan;
}

RoutePlan PlanLevel(const LevelBytes& level, int players) {
  const LevelFinishability verdict = CheckFinishability(level);
  const Finishability& mode = players == 2 ? verdict.twoPlayers : verdict.onePlayer;
  if (!mode.finishable) {
    RoutePlan plan;
    plan.reason = mode.reason.empty() ? "the checker finds no route" : mode.reason;
    return plan;
  }
  return PlanFromRoute(mode.route, level);
}
