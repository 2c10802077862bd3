#pragma once
// Plays one level of the working directory's game as a trial for the level editor:
// drives the real program as a player would (the welcome text, the player count,
// Start Game on level 0), and ends it when the game is over, abandoned or the level
// finished. How it ended is written to the game directory for the editor. A trial may
// instead show a recorded game of the level (its solution) from the title menu, as
// `trok --play FILE` does, and ends when that has been watched.
#include <cstdint>
#include <optional>
#include <string>

#include "replay/replay.h"
#include "shell/program.h"

class LevelTrial {
 public:
  // Attaches to a program just made (before its message loop runs). With `replay`
  // (read from `replayPath`) the game plays that instead of the player.
  LevelTrial(Program& program, int players);
  LevelTrial(Program& program, const Replay& replay, const std::string& replayPath);

  bool Finished() const { return finished_; }
  int Seconds() const { return seconds_; }

 private:
  void Step();

  void Watch();

  Program& program_;
  int players_;
  std::optional<Replay> replay_;
  std::string replayPath_;
  Timer& watch_;
  enum class Stage { Welcome, TitleMenu, Starting, Playing, Over } stage_ = Stage::Welcome;
  uint64_t startedMs_ = 0;
  bool finished_ = false;
  int seconds_ = 0;
};

// The editor's play mode: in `gameDir`, with a window and the real clock; with a
// `replayFile` the game shows that recorded game of the level. Returns the program's
// exit status (2 when the replay cannot be read).
int RunLevelTrial(const std::string& gameDir, int players, const std::string& replayFile, const uint32_t* iconArgb,
                  int iconSide);
