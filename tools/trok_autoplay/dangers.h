#pragma once
// What may hurt a player in the current room in the next moments: the cells fire darts
// fly into at the next scan, laser beams that stand or fire soon, and the neighbourhood
// of what shoots darts or chases. Only the current room lives, so only it is looked at.
#include <vector>

#include "play/game.h"
#include "trok_autoplay/world_map.h"

struct Dangers {
  std::vector<char> deadly;  // stepping or standing there now is likely to cost a life
  std::vector<int> extra;    // added cost of entering a cell (PathRules::extra)
};

// Ticks until laser set `set` (1..4) fires next: 0 when it fires in the coming tick.
int TicksToLaserFire(const WorldClock& clock, int set);
// The set (1..4) of a laser producer code, and whether it fires right (else down); 0 if none.
int LaserSetOf(CellCode code, bool& right);

Dangers DangersOf(const WorldMap& map, const WorldClock& clock);
