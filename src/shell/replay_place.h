#pragma once
// Where a replay can be played. To watch it: the game directory itself when its levels
// are the ones the replay was recorded on; for a level played alone (the editor's
// trial, a level's solution), a game directory of that one level made for the time,
// with the game's data folders linked in and the player's settings copied. To check it:
// always a directory made for the time with the levels and data alone, so that nothing
// of the player's (damaged settings, a score table) is read or written. Otherwise a
// reason.
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

  enum class Use { Watch, Check };
  // Null with a reason in `error` when `startDirectory` (ending in '/') cannot play it.
  static std::unique_ptr<ReplayPlace> Find(const Replay& replay, const std::string& startDirectory, Use use,
                                           std::string& error);
  // The game directory to play it in (ends in '/').
  const std::string& Directory() const { return directory_; }
  // The level's number as the player knows it.
  int LevelShown() const { return levelShown_; }

 private:
  ReplayPlace() = default;
  // Makes the directory: the data folders linked, the levels folder linked (`levelFile`
  // empty) or the one level copied as its only one, the settings copied when wanted.
  bool MakeScratch(const std::string& startDirectory, const std::string& levelFile, bool withSettings,
                   std::string& error);

  std::string directory_;
  std::filesystem::path scratch_;  // made for the time, removed with the place
  int levelShown_ = 0;
};

// Runs `work` with the working directory `dir` and goes back; false when it cannot go.
bool InDirectory(const std::string& dir, const std::function<void()>& work);
