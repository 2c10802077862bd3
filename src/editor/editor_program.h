#pragma once
// The level editor as a program: its window on the real clock, the places it works in,
// the level named on the command line, and the message loop, which ends on the
// window's close and on a stop request from the system (SIGTERM, SIGHUP).
#include <cstdint>
#include <functional>
#include <string>

#include "editor/editor_form.h"

struct EditorRun {
  std::string level;        // opened first when not empty
  EditorPlaces places;      // empty dataDir: found with FindGameData
  std::string gameProgram;  // plays the level (`PROGRAM --play DIR PLAYERS`); empty: this program
  std::function<void(EditorForm&)> started;  // told once the window is shown (tests drive it)
};

// Returns the program's exit status.
int RunEditor(const EditorRun& run, const uint32_t* iconArgb, int iconSide);

// Where the game's data lies for an editor started in `gameDir`: that directory when
// it holds Objects/, else the folder of the program itself (a build's game directory).
std::string FindGameData(const std::string& gameDir, const std::string& programPath);
