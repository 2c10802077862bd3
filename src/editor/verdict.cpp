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
  CheckOptions options;
  options.stateLimit = stateLimit;
  return CheckForEditor(bytes, revision, options);
}

EditorVerdict CheckForEditor(const LevelBytes& bytes, uint64_t revision, const CheckOptions& options) {
  EditorVerdict v;
  v.known = true;
  v.revision = revision;
  v.result = CheckFinishability(bytes, options);
  v.onePlayerRoute = RouteLevelCells(v.result.onePlayer.route);
  v.twoPlayerRoute = RouteLevelCells(v.result.twoPlayers.route);
  return v;
}

EditorVerdict FailedCheck(uint64_t revision, const std::string& reason) {
  EditorVerdict v;
  v.known = true;
  v.revision = revision;
  v.result.onePlayer.reason = v.result.twoPlayers.reason = reason;
  return v;
}
