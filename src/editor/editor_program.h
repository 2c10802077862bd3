#pragma once
// The level editor as a program: its window on the real clock, the places it works in,
// the level named on the command line, and the message loop.
#include <cstdint>
#include <string>

// `level` is opened first when not empty. Returns the program's exit status.
int RunEditor(const std::string& level, const uint32_t* iconArgb, int iconSide);

// Where the game's data lies for an editor started in `gameDir`: that directory when
// it holds Objects/, else the folder of the program itself (a build's game directory).
std::string FindGameData(const std::string& gameDir, const std::string& programPath);
