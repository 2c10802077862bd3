#pragma once
// A game directory of its own for playing the level being edited, so that the
// player's files stay untouched: the game's pictures, sounds and music linked in, the
// level as FELDS/FELD.00 (the only level), and copies of the player's Options.dat
// (their keys), of their choice of window or full screen and of the high-score table.
#include <string>

#include "authoring/level_text.h"

struct ScratchGameSources {
  std::string dataDir;      // holds Objects, Sounds, Music, Pictures (ends in '/' or empty)
  std::string optionsFile;  // the player's Options.dat; copied when it exists
  std::string scoresFile;   // a HighScores.dat to start from; copied when it exists
  std::string displayFile;  // the player's Display.dat; copied when it can be, else full screen
  std::string parentDir;    // where the directory is made; empty for the system's temporary folder
};

// Makes the directory; false with a message. Its name tells which editor process owns
// it (see RemoveAbandonedScratchGames).
bool MakeScratchGame(const LevelBytes& level, const ScratchGameSources& sources, std::string& dir,
                     std::string& error);
// Removes it with what the game wrote there; links are removed, never followed.
void RemoveScratchGame(const std::string& dir);
// Removes the scratch game directories in `parentDir` (empty: the system's temporary
// folder) that an editor killed during a game left behind: only folders of this user
// named as ours whose owner process is provably gone. Returns how many went.
int RemoveAbandonedScratchGames(const std::string& parentDir);
