#include "editor/level_solutions.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "base/file_saving.h"
#include "base/files.h"
#include "replay/replay_file.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view LevelFolder = "FELDS";
constexpr std::string_view LevelPrefix = "FELD.";

std::string PlayersPart(int players) { return players == 2 ? "2p" : "1p"; }

// The digits of a level file of the game ("FELD.07" gives "07"); empty for any other name.
std::string LevelDigits(const fs::path& level) {
  const std::string name = level.filename().string();
  if (!name.starts_with(LevelPrefix) || level.parent_path().filename() != LevelFolder) return {};
  const std::string digits = name.substr(LevelPrefix.size());
  if (digits.size() < 2 || digits.find_first_not_of("0123456789") != std::string::npos) return {};
  return digits;
}

// The saved file's bytes; empty when there is none or it cannot be read.
std::string ReadSaved(const std::string& path) {
  std::string bytes, error;
  if (!ReadWholeFile(path, bytes, error, MaxReplayBytes)) bytes.clear();
  return bytes;
}

}  // namespace

std::optional<LevelSolution> ReadSolution(std::string bytes) {
  Replay replay;
  std::string error;
  if (DecodeReplay(bytes, replay, error) != ReplayReadResult::Ok) return std::nullopt;
  const ReplaySettings& s = replay.settings;
  if (!replay.end.levelFinished || s.levelCount != 1 || replay.levels.size() != 1 || replay.levels[0].index != 0 ||
      (s.playerCount != 1 && s.playerCount != 2))
    return std::nullopt;
  return LevelSolution{std::move(bytes), s.playerCount, replay.levels[0].digest, s.recordedAt};
}

std::optional<LevelSolution> SolutionOfTrial(const std::string& gameDir) {
  std::error_code ec;
  fs::path newest;
  fs::file_time_type newestTime{};
  for (const auto& entry : fs::directory_iterator(gameDir + ReplayFolderName, ec)) {
    if (!entry.path().filename().string().ends_with(ReplayExtension) || !entry.is_regular_file(ec)) continue;
    const fs::file_time_type time = entry.last_write_time(ec);
    if (ec) continue;
    if (newest.empty() || time > newestTime || (time == newestTime && entry.path() > newest)) {
      newest = entry.path();
      newestTime = time;
    }
  }
  if (newest.empty()) return std::nullopt;
  std::optional<LevelSolution> solution = ReadSolution(ReadSaved(newest.string()));
  std::string level, error;
  if (!solution || !ReadWholeFile(gameDir + std::string(LevelFolder) + "/FELD.00", level, error) ||
      Sha256Of(level) != solution->level)
    return std::nullopt;
  return solution;
}

std::string SolutionFolderOf(const std::string& levelPath) {
  const fs::path level(levelPath);
  if (LevelDigits(level).empty()) return {};
  const fs::path game = level.parent_path().parent_path();
  return (game.empty() ? std::string() : game.string() + "/") + SolutionFolderName;
}

std::string SolutionFileOf(const std::string& levelPath, int players) {
  const std::string digits = LevelDigits(levelPath);
  if (digits.empty()) return levelPath + "." + PlayersPart(players) + ReplayExtension;
  return SolutionFolderOf(levelPath) + "/" + digits + "-" + PlayersPart(players) + ReplayExtension;
}

void LevelSolutions::Keep(LevelSolution solution) {
  const std::size_t slot = solution.players == 2 ? 1 : 0;
  last_[slot] = std::move(solution);
  keptAt_[slot] = ++kept_;
}

const LevelSolution* LevelSolutions::For(int players, const Sha256Digest& level) const {
  const auto& kept = last_[players == 2 ? 1 : 0];
  return kept && kept->level == level ? &*kept : nullptr;
}

const LevelSolution* LevelSolutions::Last(const Sha256Digest& level) const {
  const LevelSolution* one = For(1, level);
  const LevelSolution* two = For(2, level);
  if (one && two) return keptAt_[1] > keptAt_[0] ? two : one;
  return one ? one : two;
}

void LevelSolutions::Forget() {
  last_ = {};
  keptAt_ = {};
}

SolutionFiles SaveSolutions(const LevelSolutions& solutions, const std::string& levelPath, const Sha256Digest& level) {
  SolutionFiles result;
  for (int players = 1; players <= 2; ++players) {
    const std::string path = SolutionFileOf(levelPath, players);
    const LevelSolution* solution = solutions.For(players, level);
    if (!solution) {
      if (!NameTaken(path)) continue;
      const std::optional<LevelSolution> saved = ReadSolution(ReadSaved(path));
      if (!saved || saved->level != level || saved->players != players) result.outOfDate.push_back(path);
      continue;
    }
    if (ReadSaved(path) == solution->file) continue;
    const std::string folder = SolutionFolderOf(levelPath);
    if (!folder.empty() && ::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
      result.error = "Cannot make the folder \"" + folder + "\": " + FileErrorText(errno) + ".";
      continue;
    }
    std::string error;
    if (ReplaceFile(path, solution->file, error))
      result.written.push_back(path);
    else
      result.error = error;
  }
  return result;
}

SolutionFiles TakeSavedSolutions(const std::string& levelPath, const Sha256Digest& level, LevelSolutions& into) {
  SolutionFiles result;
  std::vector<LevelSolution> fitting;
  for (int players = 1; players <= 2; ++players) {
    const std::string path = SolutionFileOf(levelPath, players);
    if (!NameTaken(path)) continue;
    std::optional<LevelSolution> saved = ReadSolution(ReadSaved(path));
    if (saved && saved->level == level && saved->players == players)
      fitting.push_back(std::move(*saved));
    else
      result.outOfDate.push_back(path);
  }
  std::stable_sort(fitting.begin(), fitting.end(),
                   [](const LevelSolution& a, const LevelSolution& b) { return a.recordedAt < b.recordedAt; });
  for (LevelSolution& solution : fitting) into.Keep(std::move(solution));
  return result;
}
