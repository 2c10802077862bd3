#include "shell/replay_place.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>

#include "base/files.h"
#include "world/level_file.h"

namespace fs = std::filesystem;

namespace {

// Every level file the game played must be the one it was recorded on.
std::string LevelFilesDiffer(const Replay& replay, const std::string& startDirectory) {
  for (const LevelPlayed& level : replay.levels) {
    const std::string name = LevelFileName(startDirectory, level.index);
    std::string bytes, error;
    if (!ReadWholeFile(name, bytes, error)) bytes.clear();
    if (Sha256Of(bytes) != level.digest)
      return "The level file \"" + name + "\" is not the one the replay was recorded on.";
  }
  return {};
}

// The level file of `startDirectory` a level played alone was recorded on, found by its
// contents; empty when the replay is of another kind or none is.
std::string LevelPlayedAlone(const Replay& replay, const std::string& startDirectory, int& levelNumber) {
  if (replay.settings.levelCount != 1 || replay.levels.size() != 1 || replay.levels[0].index != 0) return {};
  for (int number = 0; number < 100; ++number) {
    const std::string name = LevelFileName(startDirectory, number);
    std::string bytes, error;
    if (!ReadWholeFile(name, bytes, error)) {
      if (!FileOrSpecialExists(name)) break;
      continue;
    }
    if (Sha256Of(bytes) == replay.levels[0].digest) {
      levelNumber = number;
      return name;
    }
  }
  return {};
}

}  // namespace

ReplayPlace::~ReplayPlace() {
  std::error_code ec;
  if (!scratch_.empty()) fs::remove_all(scratch_, ec);
}

std::unique_ptr<ReplayPlace> ReplayPlace::Find(const Replay& replay, const std::string& startDirectory, Use use,
                                               std::string& error) {
  std::unique_ptr<ReplayPlace> place(new ReplayPlace);
  error = LevelFilesDiffer(replay, startDirectory);
  if (error.empty() && CountLevels(startDirectory, [] {}) == replay.settings.levelCount) {
    place->levelShown_ = replay.settings.levelIndex;
    if (use == Use::Watch) {
      place->directory_ = startDirectory;
      return place;
    }
    return place->MakeScratch(startDirectory, "", false, error) ? std::move(place) : nullptr;
  }
  const std::string level = LevelPlayedAlone(replay, startDirectory, place->levelShown_);
  if (level.empty()) {
    if (error.empty())
      error = "The game's levels are not the ones the replay was recorded with (" +
              std::to_string(replay.settings.levelCount) + " levels).";
    return nullptr;
  }
  error.clear();
  return place->MakeScratch(startDirectory, level, use == Use::Watch, error) ? std::move(place) : nullptr;
}

bool ReplayPlace::MakeScratch(const std::string& startDirectory, const std::string& levelFile, bool withSettings,
                              std::string& error) {
  char pattern[] = "/tmp/trok-replay-XXXXXX";
  if (!::mkdtemp(pattern)) {
    error = "Cannot make a folder to play the replay in: " + FileErrorText(errno) + ".";
    return false;
  }
  scratch_ = pattern;
  std::error_code ec;
  auto link = [&](const char* folder) {
    if (fs::exists(startDirectory + folder, ec))
      fs::create_directory_symlink(fs::absolute(startDirectory + folder, ec), scratch_ / folder, ec);
  };
  for (const char* folder : {"Objects", "Sounds", "Music", "Pictures"}) link(folder);
  // The player's own settings and choice of display, as in their game directory.
  if (withSettings)
    for (const char* file : {"Options.dat", "Display.dat"})
      if (FileExists(startDirectory + file)) fs::copy_file(startDirectory + file, scratch_ / file, ec);
  if (levelFile.empty()) {
    link("FELDS");
  } else {
    fs::create_directory(scratch_ / "FELDS", ec);
    if (!ec) fs::copy_file(levelFile, LevelFileName(scratch_.string() + "/", 0), ec);
  }
  if (ec) {
    error = "Cannot make a folder to play the replay in: " + ec.message() + ".";
    return false;
  }
  directory_ = scratch_.string() + "/";
  return true;
}

bool InDirectory(const std::string& dir, const std::function<void()>& work) {
  const std::string previous = CurrentDirectoryWithSlash();
  if (::chdir(dir.c_str()) != 0) return false;
  work();
  if (::chdir(previous.c_str()) != 0) std::perror("trok: back to the working directory");
  return true;
}
