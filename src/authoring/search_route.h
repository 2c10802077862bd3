#pragma once
// What a finished search found, told as steps (level_tool check -v) and traced as the
// cells a player walks (for drawing it on the map).
#include <string>
#include <vector>

#include "authoring/level_check.h"
#include "authoring/level_model.h"
#include "authoring/level_search.h"

// "open the door at row 5 col 10 (room 0,0) (0 keys left)"; with `gains`, followed by
// "; then collect the key at ..., shoot the Ant at ..." for what its closure got done.
std::string DescribeNode(const LevelSearch& search, int node, bool gains);
// Every node from the start to the Finish, then the step onto it.
std::vector<std::string> DescribeRoute(const LevelSearch& search);
// From player 1's start cell to the Finish, visiting the keys collected on the way.
std::vector<RouteCell> TraceRoute(const LevelSearch& search);
