#pragma once
// Where a replay can be played: the game directory itself when its levels are the ones
// the replay was recorded on; for a level played alone (the editor's trial, a level's
// solution), a game directory of that one level made for the time, with the game's data
// folders linked in and the player's settings copied. Otherwise a reason.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "replay/replay.h"

class ReplayPlace {
 public:
  ~ReplayPlace();
  ReplayPlace(const ReplayPlace&) = delete;
  ReplayPlace& operator=(const ReplayPlace&) = delete;

  // Null with a reason in `error` when `startDirectory` (ending in '/') cannot play it.
  static std::unique_ptr<ReplayPlace> Find(const Replay& replay, const std::string& startDirectory,
                                           std::string& error);
  // The game directory to play it in (ends in '/').
  const std::string& Directory() const { return directory_; }
  // The level's number as the player knows it.
  int LevelShown() const { return levelShown_; }

 private:
  ReplayPlace() = default;

  std::string directory_;
  std::filesystem::path scratch_;  // made for the time, removed with the place
  int levelShown_ = 0;
};

// Runs `work` with the working directory `dir` and goes back; false when it cannot go.
bool InDirectory(const std::string& dir, const std::function<void()>& work);
