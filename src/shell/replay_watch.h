#pragma once
// Watching a recorded game in the program's window, as `trok --play FILE` shows it and
// the level editor shows a level's solution: from the title menu, at the game's pace,
// with the window's title naming the file. The title menu follows.
#include <string>

#include "replay/replay.h"

struct Program;

// Plays `replay`, read from `path`, in the program, which must be in its title menu;
// returns once the playback has ended.
void WatchReplay(Program& program, const Replay& replay, const std::string& path);
