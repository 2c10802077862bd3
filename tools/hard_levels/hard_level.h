#pragma once
// Random levels that make the checker work hardest: the whole map strewn with ice,
// slide arrows, shootable walls, keys and doors, and the Finish walled in, so no search
// ends early and every mode has to try everything it can before it may say no.
#include <cstdint>

#include "authoring/level_text.h"

struct HardLevelMix {
  // Per cent of the level's cells (the frame of walls round the level aside).
  int ice = 15;
  int arrows = 5;
  int shootable = 6;
  int keys = 3;
  int doors = 4;
};

// The same seed gives the same level everywhere: the dice are our own, not a standard
// library's distribution.
LevelBytes MakeHardLevel(uint32_t seed, const HardLevelMix& mix = {});
