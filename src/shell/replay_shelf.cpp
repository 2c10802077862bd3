#include "shell/replay_shelf.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <vector>

#include "base/file_saving.h"
#include "base/files.h"
#include "replay/replay_file.h"

namespace {

constexpr const char* FinishedMark = "_finished";
constexpr const char* HighScoreMark = "_highscore";
constexpr const char* ReportMark = "_desync";

// "YYYY-MM-DD_HH-MM-SS_levelNN_Np", as the file names begin.
constexpr std::size_t StemLength = 19 + 8 + 3;

bool Digits(const std::string& s, std::size_t from, std::size_t count) {
  for (std::size_t i = from; i < from + count; ++i)
    if (i >= s.size() || s[i] < '0' || s[i] > '9') return false;
  return true;
}

// One of the names this shelf gives, and whether it is one to keep for good.
bool IsShelfName(const std::string& name, bool& keeper) {
  const std::string ext = ReplayExtension;
  if (name.size() < StemLength + ext.size() || !name.ends_with(ext)) return false;
  if (!(Digits(name, 0, 4) && name[4] == '-' && Digits(name, 5, 2) && name[7] == '-' && Digits(name, 8, 2) &&
        name[10] == '_' && Digits(name, 11, 2) && name[13] == '-' && Digits(name, 14, 2) && name[16] == '-' &&
        Digits(name, 17, 2) && name.compare(19, 6, "_level") == 0 && Digits(name, 25, 2) && name[27] == '_' &&
        (name[28] == '1' || name[28] == '2') && name[29] == 'p'))
    return false;
  std::string rest = name.substr(StemLength, name.size() - StemLength - ext.size());
  keeper = false;
  for (const char* mark : {FinishedMark, HighScoreMark, ReportMark})
    if (rest.starts_with(mark)) {
      rest.erase(0, std::string(mark).size());
      keeper = true;
    }
  // A second game within the same second: "-N".
  if (rest.empty()) return true;
  return rest[0] == '-' && rest.size() >= 2 && rest.size() <= 4 && Digits(rest, 1, rest.size() - 1);
}

// Plain replays beyond the newest ReplaysKept go. Only our own regular files.
void LetOldReplaysGo(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  std::vector<std::string> plain;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    bool keeper = false;
    if (!IsShelfName(name, keeper) || keeper) continue;
    struct stat st;
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
        st.st_uid != ::geteuid())
      continue;
    plain.push_back(name);
  }
  ::closedir(dir);
  if (plain.size() <= static_cast<std::size_t>(ReplaysKept)) return;
  // The names begin with the time they were played: the oldest sort first.
  std::sort(plain.begin(), plain.end());
  for (std::size_t i = 0; i + ReplaysKept < plain.size(); ++i) ::unlink((folder + plain[i]).c_str());
}

}  // namespace

std::string ReplayFileName(const Replay& replay, bool highScore, int attempt, bool forReport) {
  const std::time_t when = static_cast<std::time_t>(replay.settings.recordedAt);
  std::tm local{};
  ::localtime_r(&when, &local);
  char stem[64];
  std::snprintf(stem, sizeof stem, "%04d-%02d-%02d_%02d-%02d-%02d_level%02d_%dp", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                std::clamp(replay.settings.levelIndex, 0, 99), replay.settings.playerCount == 2 ? 2 : 1);
  std::string name = stem;
  if (replay.end.levelFinished) name += FinishedMark;
  if (highScore) name += HighScoreMark;
  if (forReport) name += ReportMark;
  if (attempt > 1) name += "-" + std::to_string(attempt);
  return name + ReplayExtension;
}

std::string KeepReplay(const std::string& startDirectory, const Replay& replay, bool highScore,
                       std::string& error, bool forReport) {
  const std::string folder = startDirectory + ReplayFolderName + "/";
  if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
    error = "Cannot make the folder \"" + folder + "\": " + FileErrorText(errno) + ".";
    return {};
  }
  const std::string bytes = EncodeReplay(replay);
  for (int attempt = 1; attempt <= 99; ++attempt) {
    const std::string path = folder + ReplayFileName(replay, highScore, attempt, forReport);
    switch (WriteNewFile(path, bytes, error)) {
      case NewFileResult::Written:
        LetOldReplaysGo(folder);
        return path;
      case NewFileResult::NameTaken:
        continue;
      case NewFileResult::Failed:
        return {};
    }
  }
  error = "Cannot save a replay in \"" + folder + "\": every name for it is taken.";
  return {};
}
