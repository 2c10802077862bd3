#pragma once
// One player's next move: heal when low, step off a cell about to be hit, shoot what
// comes at it, else take the first step of the cheapest way to its goals (shooting
// what blocks it, waiting for what passes by or is about to be deadly).
#include <string>
#include <vector>

#include "players/player_state.h"
#include "trok_autoplay/dangers.h"
#include "trok_autoplay/path_finder.h"

struct Intent {
  int dir = 0;        // the direction held (0: none)
  bool fire = false;  // fire held: shoot in `dir` instead of walking
  bool useHealth = false;
  std::string doing;  // for the trace
};

// How far a threat in line is shot at.
constexpr int ThreatRange = 4;

// The world cell a player stands on.
int PlayerCell(const WorldMap& map, const PlayerState& p);

// The direction and distance of the nearest creature (or producer, up to a shorter
// range) in a clear line from `cell` in the current room: dir 0 when there is none.
int ThreatInLine(const WorldMap& map, int cell, int& distance);

// The move towards `goals`; `path` receives the way found (empty when none). The way
// is planned as if `passable` (the partner, who makes room) were floor.
Intent Steer(const WorldMap& map, const PlayerState& me, const Dangers& dangers, const std::vector<int>& goals,
             const PathRules& rules, Path& path, int passable = -1);

// What to do first whatever the goal: heal, dodge or shoot. `doing` empty: nothing.
Intent Reflexes(const WorldMap& map, const PlayerState& me, const Dangers& dangers);
