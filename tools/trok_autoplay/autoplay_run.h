#pragma once
// Plays one level of the game in the working directory through, headless on virtual
// time, as a player would: past the welcome text, level and player count chosen in the
// title menu, then the autopilot at the keys until the game warps to the next level,
// every player is dead, or the players make no progress for a while.
#include <cstdint>
#include <ostream>
#include <string>

struct AutoplayOptions {
  int level = 0;
  int players = 1;
  uint32_t seed = 1;
  double maxMinutes = 3.0;  // of game time without progress
  bool trace = false;
};

struct AutoplayOutcome {
  bool finished = false;
  std::string summary;  // the closing line
};

// Trace lines (with options.trace) go to `trace`.
AutoplayOutcome RunAutoplay(const AutoplayOptions& options, std::ostream& trace);
