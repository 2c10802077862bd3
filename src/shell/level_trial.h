#pragma once
// Plays one level of the working directory's game as a trial for the level editor:
// drives the real program as a player would (the welcome text, the player count,
// Start Game on level 0), and ends it when the game is over, abandoned or the level
// finished. How it ended is written to the game directory for the editor.
#include <cstdint>
#include <string>

#include "shell/program.h"

class LevelTrial {
 public:
  // Attaches to a program just made (before its message loop runs).
  LevelTrial(Program& program, int players);

  bool Finished() const { return finished_; }
  int Seconds() const { return seconds_; }

 private:
  void Step();

  Program& program_;
  int players_;
  Timer& watch_;
  enum class Stage { Welcome, TitleMenu, Starting, Playing, Over } stage_ = Stage::Welcome;
  uint64_t startedMs_ = 0;
  bool finished_ = false;
  int seconds_ = 0;
};

// The editor's play mode: in `gameDir`, with a window and the real clock. Returns the
// program's exit status.
int RunLevelTrial(const std::string& gameDir, int players, const uint32_t* iconArgb, int iconSide);
