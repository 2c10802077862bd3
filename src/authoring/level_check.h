#pragma once
// Proves that a level can be finished: a search over what players can do to the map
// (walk, collect keys, open doors, shoot obstacles away, slide, cross rooms), once for
// one player and once for two players who must cross room edges side by side.
#include <string>
#include <vector>

#include "authoring/level_text.h"

struct CheckOptions {
  // Give up (and report it) after this many distinct search states per mode.
  int stateLimit = 40000;
  // Fill the routes of the report.
  bool wantRoute = false;
  // Explore every state a single player can reach, to find the moves after which
  // the Finish is out of reach for good (reported as notes).
  bool findDeadEnds = true;
};

struct ModeResult {
  bool searched = false;
  bool reachable = false;
  bool gaveUp = false;  // the state limit was hit before an answer
  int states = 0;
  std::vector<std::string> route;  // the steps that prove it, when wanted
  // Moves after which the Finish can never be reached (only when searched for).
  std::vector<std::string> deadEnds;
};

struct CheckReport {
  std::vector<std::string> errors;  // the level is refused
  std::vector<std::string> notes;   // worth a look, not fatal
  std::string startInfo;            // where the Start is and whether both start cells work
  bool bothStartsUsable = false;
  ModeResult onePlayer;
  ModeResult twoPlayers;

  bool Ok() const {
    return errors.empty() && onePlayer.reachable && twoPlayers.reachable;
  }
};

CheckReport CheckLevel(const LevelBytes& bytes, const CheckOptions& options = {});

// "row R col C (room X,Y)" for a level cell; cells of the floor rooms around the
// level are described by their grid room.
std::string DescribeWorldCell(int worldX, int worldY);
