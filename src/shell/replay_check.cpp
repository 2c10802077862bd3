#include "shell/replay_check.h"

#include <stdlib.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "base/files.h"
#include "base/keys.h"
#include "platform/null_audio_door.h"
#include "replay/replay_file.h"
#include "shell/headless_program.h"
#include "world/level_file.h"

namespace {

std::string Hex(uint64_t v) {
  char text[17];
  std::snprintf(text, sizeof text, "%016" PRIx64, v);
  return text;
}

ReplayCheckOutcome Refused(const std::string& why) { return {2, why}; }

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

// A replay of a level played alone (the editor's trial, a level's solution): the level
// file of `startDirectory` it was recorded on, found by its contents; empty when none is.
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

// A game directory of one level for the time of a check: the game's data folders linked
// in, the level as its only level. Gone with the object.
class LevelAloneDirectory {
 public:
  LevelAloneDirectory(const std::string& startDirectory, const std::string& levelFile) {
    namespace fs = std::filesystem;
    char pattern[] = "/tmp/trok-verify-XXXXXX";
    if (!::mkdtemp(pattern)) return;
    dir_ = pattern;
    std::error_code ec;
    for (const char* folder : {"Objects", "Sounds", "Music", "Pictures"})
      if (fs::exists(startDirectory + folder, ec))
        fs::create_directory_symlink(fs::absolute(startDirectory + folder, ec), dir_ / folder, ec);
    fs::create_directory(dir_ / "FELDS", ec);
    fs::copy_file(levelFile, LevelFileName(dir_.string() + "/", 0), ec);
    ok_ = !ec;
  }
  ~LevelAloneDirectory() {
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
  }
  bool Ok() const { return ok_; }
  std::string Path() const { return dir_.string() + "/"; }

 private:
  std::filesystem::path dir_;
  bool ok_ = false;
};

// Runs `check` with the working directory `dir` (the program's game directory).
template <typename Check>
ReplayCheckOutcome InDirectory(const std::string& dir, Check check) {
  const std::string previous = CurrentDirectoryWithSlash();
  if (::chdir(dir.c_str()) != 0) return Refused("Cannot enter the folder \"" + dir + "\".");
  ReplayCheckOutcome outcome = check();
  if (::chdir(previous.c_str()) != 0) std::perror("trok: back to the working directory");
  return outcome;
}

// `levelShown`: the number of the level as the player knows it.
ReplayCheckOutcome PlayHere(const Replay& replay, int levelShown);

}  // namespace

ReplayCheckOutcome CheckReplayFile(const std::string& path) {
  Replay replay;
  std::string error;
  if (ReadReplayFile(path, replay, error) != ReplayReadResult::Ok) return Refused(error);
  const std::string startDirectory = CurrentDirectoryWithSlash();
  std::string why = LevelFilesDiffer(replay, startDirectory);
  if (!why.empty() || CountLevels(startDirectory, [] {}) != replay.settings.levelCount) {
    // A level played alone is checked alone, wherever it lies among the game's levels.
    int number = 0;
    if (const std::string level = LevelPlayedAlone(replay, startDirectory, number); !level.empty()) {
      LevelAloneDirectory alone(startDirectory, level);
      if (!alone.Ok()) return Refused("Cannot make a folder to check the replay in.");
      return InDirectory(alone.Path(), [&] { return PlayHere(replay, number); });
    }
    if (!why.empty()) return Refused(why);
  }
  return PlayHere(replay, replay.settings.levelIndex);
}

namespace {

ReplayCheckOutcome PlayHere(const Replay& replay, int levelShown) {
  std::string error;

  HeadlessProgram program(std::make_unique<NullAudioDoor>());
  if (!program.Start(error)) return Refused("The program cannot start: " + error);
  // Start-up as a player starts it; a box it shows means it cannot play here.
  program.PushChar('a', program.Now() + 1);
  const uint64_t giveUp = program.Now() + 60000;
  while (!program.InTitleMenu() && program.OpenBoxes().empty() && !program.Terminated() && program.Now() < giveUp)
    program.RunFor(10);
  if (!program.InTitleMenu() || !program.OpenBoxes().empty())
    return Refused(program.OpenBoxes().empty() ? "The program did not reach its title menu."
                                               : "The program cannot start: " + program.OpenBoxes().back());
  const int levels = program.GameState().LevelCount;
  if (levels != replay.settings.levelCount)
    return Refused("The levels folder holds " + std::to_string(levels) + " levels; the replay was recorded with " +
                   std::to_string(replay.settings.levelCount) + ".");

  bool ran = false;
  program.At(program.Now() + 1, [&] {
    program.PlayBack(replay, false);
    ran = true;
  });
  while (!ran && !program.Terminated()) program.RunFor(1);
  const ReplayPlayer* player = program.LastPlayback();
  if (!ran || !player) return Refused("The replay could not be played.");
  if (const auto& desync = player->Desync())
    return {1, "desync at pass " + std::to_string(desync->pass) + ": expected " + Hex(desync->expected) + " got " +
                   Hex(desync->got)};
  if (!player->Finished())
    return {1, "desync at pass " + std::to_string(player->Pass()) + ": expected " + Hex(replay.end.finalHash) +
                   " got the game still running"};
  const Game& game = program.GameState();
  return {0, "verified: level " + std::to_string(levelShown) + ", " +
                 std::to_string(player->Pass()) + " passes, points " + std::to_string(game.Player1.Points) + "/" +
                 std::to_string(game.Player2.Points) + ", final " + Hex(player->FinalHash())};
}

}  // namespace
