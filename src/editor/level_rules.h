#pragma once
// The rules every level must keep, and warnings about what the game forbids or what
// cannot work, each tied to the cell it concerns so the editor can show it.
#include <string>
#include <vector>

#include "authoring/level_text.h"

enum class RuleSeverity { Error, Warning };

struct RuleFinding {
  RuleSeverity severity = RuleSeverity::Warning;
  std::string text;
  int cell = -1;  // level cell (level_cells.h), -1 when none applies
  bool operator==(const RuleFinding&) const = default;
};

// Errors: no Start or more than one, no Finish, a Start in column 0 or 19 of its room.
// Warnings: start cells a player cannot use, lasers with nothing to fire into or that
// burn what stands in their beam, lone beams, doors with no key reachable before them,
// shootable walls that crumble at once, openings in the level's outer wall, editor-only
// codes, stray player markers and shots, bytes without an object. Errors come first,
// then warnings, each in the order of the cells.
std::vector<RuleFinding> CheckLevelRules(const LevelBytes& bytes);

// "row 7, column 25 (room 1,0)".
std::string DescribeLevelCell(int cell);

// Doors that players can walk up to but for which no key is left: keys are collected
// wherever players can walk, shoot or slide to, and each opens one door reached.
std::vector<int> DoorsWithoutKeys(const LevelBytes& bytes);
