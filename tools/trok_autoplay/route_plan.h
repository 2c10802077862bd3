#pragma once
// The order of goals for a level, from the checker's route: the keys it collects and
// the doors it opens, in its order, then the Finish. World cells, as in WorldMap.
#include <string>
#include <vector>

#include "authoring/level_check.h"
#include "world/level_file.h"
#include "trok_autoplay/world_map.h"

struct Goal {
  enum class Kind { Key, Door, Finish } kind = Kind::Finish;
  int cell = -1;
};

struct RoutePlan {
  bool ok = false;
  std::string reason;  // why the checker found no route
  std::vector<Goal> goals;
};

// `route` as the checker traced it; `level` gives what lies on its cells.
RoutePlan PlanFromRoute(const std::vector<RouteCell>& route, const LevelBytes& level);
// Checks the level and plans for one player or for two together.
RoutePlan PlanLevel(const LevelBytes& level, int players);

int WorldCellOf(const RouteCell& c);
// "room (1,0) cell (9,6)": a cell as the level's own rooms count it.
std::string CellName(int cell);
const char* GoalName(Goal::Kind kind);
