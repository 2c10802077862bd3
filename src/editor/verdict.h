#pragma once
// The checker's verdict on the level being edited, kept with the edit it belongs to.
#include <cstdint>
#include <string>
#include <vector>

#include "authoring/level_check.h"

struct EditorVerdict {
  bool known = false;     // the check ran for `revision`
  uint64_t revision = 0;  // the document revision checked
  LevelFinishability result;
  // The routes as level cells (level_cells.h); -1 where they leave the level.
  std::vector<int> onePlayerRoute, twoPlayerRoute;
};

// Checks the level; `stateLimit` bounds the search as in level_tool.
EditorVerdict CheckForEditor(const LevelBytes& bytes, uint64_t revision, int stateLimit = 40000);
// The same within the budget, and with the cancel flag, of `options`.
EditorVerdict CheckForEditor(const LevelBytes& bytes, uint64_t revision, const CheckOptions& options);
// A verdict for a check that could not be made, `reason` given for both modes.
EditorVerdict FailedCheck(uint64_t revision, const std::string& reason);
std::vector<int> RouteLevelCells(const std::vector<RouteCell>& route);
