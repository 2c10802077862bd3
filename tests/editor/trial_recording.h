#pragma once
// Real games of a small level, recorded as the editor's trials record them: the program
// runs headless on virtual time in a scratch game directory whose only level it is.
#include <string>

#include "authoring/level_text.h"

// The empty frame with the Start in room (0,0): player 1 starts at (4,5), player 2 at
// (6,5), and the Finish lies right below either.
LevelBytes FinishBelowStart();
// The replay file the game kept of a trial of `level` in which the players walk down
// at once: onto the Finish of FinishBelowStart.
std::string RecordTrial(const LevelBytes& level, int players);
