#pragma once
// How a trial of a level ended, as the game's play mode leaves it for the level editor
// in the game directory it played in: one line, "finished SECONDS" or "stopped SECONDS".
#include <string>

struct TrialOutcome {
  bool finished = false;  // the players reached the Finish
  int seconds = 0;        // from the start of the level to the warp (or the end)
};

constexpr const char* TrialOutcomeFile = "trial-outcome.txt";

// Writes the file into `gameDir` (ending in '/' or empty); false when it failed.
bool WriteTrialOutcome(const std::string& gameDir, const TrialOutcome& outcome);
// What a played game left; "stopped" when the file is missing or damaged.
TrialOutcome ReadTrialOutcome(const std::string& gameDir);
