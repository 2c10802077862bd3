#pragma once
// Plays the level being edited in the real game, beside the editor: the editor starts
// it and keeps its own loop going until the game has ended.
#include <memory>
#include <string>

#include "base/child_process.h"
#include "base/trial_outcome.h"

class LevelPlayer {
 public:
  virtual ~LevelPlayer() = default;
  // Starts the game in `gameDir` (a scratch game directory) on its level 0 with
  // `players` players; false with a reason.
  virtual bool Start(const std::string& gameDir, int players, std::string& error) = 0;
  // Starts the game in `gameDir` showing the recorded game `replayFile` of its level,
  // played by `players` players; false with a reason.
  virtual bool StartWatching(const std::string& gameDir, int players, const std::string& replayFile,
                             std::string& error) = 0;
  // True once the game has ended (never waits).
  virtual bool Ended() = 0;
  // Ends a game still running, at once.
  virtual void Stop() = 0;
};

// The game runs as this program itself in its play mode (`program --play DIR PLAYERS`,
// with `--replay FILE` to watch), a process of its own with its own window.
class ChildLevelPlayer : public LevelPlayer {
 public:
  explicit ChildLevelPlayer(std::string program) : program_(std::move(program)) {}
  bool Start(const std::string& gameDir, int players, std::string& error) override;
  bool StartWatching(const std::string& gameDir, int players, const std::string& replayFile,
                     std::string& error) override;
  bool Ended() override { return child_.Ended(); }
  void Stop() override { child_.Stop(); }

 private:
  std::string program_;
  ChildProcess child_;
};

