#pragma once
// The cheapest way for one player through the field: walks and slides inside rooms and
// straight crossings into the next room. What can be shot away costs by the shots it
// takes, what moves on by a wait; what kills or cannot be passed is left out.
#include <cstdint>
#include <vector>

#include "trok_autoplay/world_map.h"

struct PathRules {
  int keys = 0;
  int door = -1;          // the one door the way may open (it takes a key)
  bool anyDoor = false;   // any door, while there are keys
  bool leaveKeys = false; // keys are for the other player: step on them only when needed
  // Added to the cost of entering a cell (dangers, the other player's way); may be null.
  const std::vector<int>* extra = nullptr;
  // Added to a slide that does not end on a cell of `tried` (one known to lead on);
  // negative: no such slide is taken.
  int untriedSlideCost = 0;
  const std::vector<char>* tried = nullptr;
};

enum class StepKind : uint8_t { Walk, Slide, Cross };

struct PathStep {
  int from = -1;
  int dir = 0;
  int to = -1;  // the cell stepped onto, the end of a slide, or the landing cell
  StepKind kind = StepKind::Walk;
};

struct Path {
  bool found = false;
  int cost = 0;
  std::vector<PathStep> steps;  // from the start to the goal; none when standing on it
};

// Shots that turn the code into Floor: 0 for what a shot does not clear.
int ShotsToClear(CellCode code);
// Safe to step on and stay: floor and what is picked up.
bool Standable(CellCode code);
// Codes that move away or vanish by themselves: waiting beats going round.
bool PassesBy(CellCode code);
// Where a player stepping from `from` onto the slide field `slide` in `dir` comes to
// rest, or -1 when the game refuses the slide.
int SlideEnd(const WorldMap& map, int slide, int dir);

Path FindPath(const WorldMap& map, int from, const std::vector<int>& goals, const PathRules& rules);
// The cost of the cheapest way from `from` to every cell of its room (-1: none),
// without leaving the room.
std::vector<int> CostsInRoom(const WorldMap& map, int from, const PathRules& rules);
