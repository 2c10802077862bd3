#include "editor/verdict.h"

#include "editor/level_cells.h"

std::vector<int> RouteLevelCells(const std::vector<RouteCell>& route) {
  std::vector<int> cells;
  cells.reserve(route.size());
  for (const RouteCell& c : route) {
    const int col = c.LevelColumn(), row = c.LevelRow();
    cells.push_back(c.roomX >= 0 && c.roomY >= 0 && InLevel(col, row) ? CellAt(col, row) : -1);
  }
  return cells;
}

EditorVerdict CheckForEditor(const LevelBytes& bytes, uint64_t revision, int stateLimit) {
  EditorVerdict v;
  v.known = true;
  v.revision = revision;
  v.result = CheckFinishability(bytes, stateLimit);
  v.onePlayerRoute = RouteLevelCells(v.result.onePlayer.route);
  v.twoPlayerRoute = RouteLevelCells(v.result.twoPlayers.route);
  return v;
}
