#include "editor/level_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "authoring/level_io.h"
#include "base/file_saving.h"
#include "base/files.h"
#include "base/process_identity.h"
#include "editor/level_solutions.h"
#include "replay/replay_file.h"

namespace {

constexpr const char* LevelFolder = "FELDS";
constexpr std::string_view RecoverySuffix = ".recovered";
// The recovery of a level that had no file yet, in the game directory.
constexpr const char* NewLevelRecovery = "NewLevel.recovered";
// A folder of the player's own is made as "FELDS.own-<owner tag>" beside the link.
constexpr std::string_view OwnFolderInfix = ".own-";

// The heading comment lines of a text source, without their '#'.
std::string HeadingComment(const std::string& text) {
  std::string comment;
  size_t at = 0;
  while (at < text.size() && text[at] == '#') {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at + 1, end - at - 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == ' ') line.erase(0, 1);
    comment += line + "\n";
    at = end + 1;
  }
  return comment;
}

bool IsRecoveryName(const std::string& path) { return path.ends_with(RecoverySuffix); }

// The level a recovery file belongs to: its name without the suffix, or none (a new level).
std::string RecoveredLevelOf(const std::string& recovery) {
  const std::size_t slash = recovery.rfind('/');
  if (recovery.compare(slash == std::string::npos ? 0 : slash + 1, std::string::npos, NewLevelRecovery) == 0)
    return "";
  return recovery.substr(0, recovery.size() - RecoverySuffix.size());
}

// `path` in the text form, shown as the level `shownAs` in its form.
OpenedLevel OpenText(const std::string& path, const std::string& shownAs, LevelForm form) {
  OpenedLevel result;
  std::string text, why;
  if (!ReadLevelSource(path, text, why)) {
    result.message = "Cannot open the level. " + why;
    return result;
  }
  TextError error;
  auto bytes = ParseLevelText(text, error);
  if (!bytes) {
    result.message = "Cannot open \"" + path + "\": it is not a level in the text form.\n" + error.Format();
    return result;
  }
  result.document = std::make_unique<LevelDocument>(*bytes, shownAs, form, HeadingComment(text));
  return result;
}

OpenedLevel OpenLevelFile(const std::string& path) {
  OpenedLevel result;
  std::vector<uint8_t> data;
  std::string why;
  if (!ReadFileStart(path, LevelFileSize + 1, data, why)) {
    result.message = "Cannot open the level. " + why;
    return result;
  }
  const size_t size = data.size();
  std::array<uint8_t, LevelFileSize> file{};
  // Missing bytes read as the scrambling key's own bytes, so they unscramble to floor.
  const auto key = BuildLevelKey();
  for (size_t n = 0; n < file.size(); ++n) file[n] = n < size ? data[n] : key[n % LevelKeySize];
  LevelBytes bytes = UnscrambleLevel(file.data());
  result.document = std::make_unique<LevelDocument>(bytes, path, LevelForm::LevelFile);
  if (size < static_cast<size_t>(LevelFileSize)) {
    result.document->MarkUnsaved();
    result.message = "\"" + path + "\" is damaged: it holds " + std::to_string(size) +
                     " bytes, but a level file has " + std::to_string(LevelFileSize) +
                     ". The game cannot play it. What it holds is shown, the missing cells as floor; "
                     "saving writes a whole level.";
  } else if (size > static_cast<size_t>(LevelFileSize)) {
    result.document->MarkUnsaved();
    result.message = "\"" + path + "\" is longer than a level file (" + std::to_string(LevelFileSize) +
                     " bytes). The game reads only the first " + std::to_string(LevelFileSize) +
                     ", which are shown; saving writes only those.";
  }
  return result;
}

std::string LevelFolderOf(const std::string& gameDir) { return gameDir + LevelFolder; }

}  // namespace

LevelForm FormOfName(const std::string& path) {
  return IsLevelSourceName(path) ? LevelForm::Text : LevelForm::LevelFile;
}

OpenedLevel OpenLevel(const std::string& path) {
  if (IsRecoveryName(path)) {
    const std::string level = RecoveredLevelOf(path);
    OpenedLevel opened = OpenText(path, level, level.empty() ? LevelForm::LevelFile : FormOfName(level));
    // Whatever it holds is not in the level file until the player saves it there.
    if (opened.document) opened.document->MarkUnsaved();
    return opened;
  }
  return FormOfName(path) == LevelForm::Text ? OpenText(path, path, LevelForm::Text) : OpenLevelFile(path);
}

std::string RecoveryFileOf(const std::string& levelPath, const std::string& gameDir) {
  return levelPath.empty() ? gameDir + NewLevelRecovery : levelPath + std::string(RecoverySuffix);
}

bool SaveRecovery(const LevelDocument& document, const std::string& gameDir, std::string& path,
                  std::string& error) {
  const std::string text = LevelFileContents(document, LevelForm::Text);
  path = RecoveryFileOf(document.Path(), gameDir);
  if (ReplaceFile(path, text, error)) return true;
  // Beside a level in a folder the player cannot write: in the game directory, as a
  // new level's, rather than not at all.
  if (document.Path().empty()) return false;
  path = RecoveryFileOf("", gameDir);
  return ReplaceFile(path, text, error);
}

std::string FindRecovery(const std::string& gameDir, const std::string& levelPath) {
  if (!levelPath.empty()) {
    const std::string recovery = RecoveryFileOf(levelPath, gameDir);
    return FileExists(recovery) ? recovery : "";
  }
  namespace fs = std::filesystem;
  std::string newest;
  fs::file_time_type newestTime{};
  for (const std::string& folder : {gameDir, gameDir + LevelFolder + "/", gameDir + "levels/"}) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder.empty() ? "." : folder, ec)) {
      const std::string name = entry.path().filename().string();
      if (!IsRecoveryName(name) || !entry.is_regular_file(ec)) continue;
      const fs::file_time_type time = entry.last_write_time(ec);
      if (ec || (!newest.empty() && time <= newestTime)) continue;
      newest = folder + name;
      newestTime = time;
    }
  }
  return newest;
}

std::string LevelFileContents(const LevelDocument& document, LevelForm form) {
  if (form == LevelForm::Text) return FormatLevelText(document.Bytes(), document.Comment());
  const auto file = ScrambleLevel(document.Bytes());
  return std::string(file.begin(), file.end());
}

bool SaveLevelAs(const LevelDocument& document, const std::string& path, LevelForm form, std::string& error) {
  return ReplaceFile(path, LevelFileContents(document, form), error);
}

std::string NextFreeLevelFile(const std::string& gameDir, int& number) {
  for (number = 0;; ++number) {
    const std::string path = LevelFileName(gameDir, number);
    if (!NameTaken(path)) return path;
  }
}

bool SaveAsNextLevel(const LevelDocument& document, const std::string& gameDir, std::string& path,
                     std::string& error) {
  const std::string contents = LevelFileContents(document, LevelForm::LevelFile);
  int number = 0;
  for (int tries = 0; tries < 100; ++tries) {
    path = NextFreeLevelFile(gameDir, number);
    switch (WriteNewFile(path, contents, error)) {
      case NewFileResult::Written: return true;
      case NewFileResult::NameTaken: continue;
      case NewFileResult::Failed: return false;
    }
  }
  error = "Cannot find a free level number in \"" + LevelFolderOf(gameDir) + "\".";
  return false;
}

namespace {

// The game's folder `name` is a link to one the player cannot write (the installed one).
bool FolderIsSharedReadOnly(const std::string& gameDir, const std::string& name) {
  const std::string folder = gameDir + name;
  struct stat st;
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return false;
  return ::access(folder.c_str(), W_OK) != 0;
}

// What switches killed before they were done left beside the folder `name`.
void RemoveAbandonedOwnFolders(const std::string& gameDir, const std::string& name) {
  const std::string prefix = name + std::string(OwnFolderInfix);
  DIR* game = ::opendir(gameDir.empty() ? "." : gameDir.c_str());
  if (!game) return;
  std::vector<std::string> abandoned;
  while (const dirent* e = ::readdir(game)) {
    const std::string entry = e->d_name;
    struct stat st;
    if (!entry.starts_with(prefix) || ::lstat((gameDir + entry).c_str(), &st) != 0 || st.st_uid != ::geteuid())
      continue;
    if ((S_ISDIR(st.st_mode) || S_ISLNK(st.st_mode)) && TagOfGoneProcess(std::string_view(entry).substr(prefix.size())))
      abandoned.push_back(gameDir + entry);
  }
  ::closedir(game);
  std::error_code ec;
  for (const std::string& path : abandoned) std::filesystem::remove_all(path, ec);  // a link goes, not what it leads to
}

// Replaces the link `name` of the game directory with a folder of the player's own
// holding copies of the files it leads to that `copied` takes; `what` names the folder
// in messages ("levels folder").
bool MakeOwnFolder(const std::string& gameDir, const std::string& name, bool (*copied)(const std::string&),
                   const std::string& what, std::string& error) {
  RemoveAbandonedOwnFolders(gameDir, name);
  const std::string folder = gameDir + name;
  ProcessIdentity self;
  const std::string owner = ThisProcess(self) ? IdentityTag(self) : std::to_string(::getpid());
  const std::string fresh = folder + std::string(OwnFolderInfix) + owner;
  if (::mkdir(fresh.c_str(), 0755) != 0) {
    error = "Cannot make a " + what + " of your own (\"" + fresh + "\"): " + FileErrorText(errno) + ".";
    return false;
  }
  auto giveUp = [&](const std::string& why) {
    std::error_code ec;
    std::filesystem::remove_all(fresh, ec);
    error = why;
    return false;
  };
  DIR* shared = ::opendir(folder.c_str());
  if (!shared) return giveUp("Cannot read the " + what + " \"" + folder + "\": " + FileErrorText(errno) + ".");
  std::vector<std::string> names;
  while (const dirent* e = ::readdir(shared))
    if (copied(e->d_name)) names.push_back(e->d_name);
  ::closedir(shared);
  for (const std::string& file : names) {
    std::vector<uint8_t> bytes;
    std::string why;
    if (!ReadWholeFile(folder + "/" + file, bytes, why)) return giveUp(why);
    if (WriteNewFile(fresh + "/" + file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                     why) != NewFileResult::Written)
      return giveUp(why);
  }
  // The complete folder and the link trade places in one step, so that the files are
  // there all the time: the installed ones or the player's copies.
  struct stat st;
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
    return giveUp("The " + what + " \"" + folder + "\" is no longer a link; it was left as it is.");
  if (::renameat2(AT_FDCWD, fresh.c_str(), AT_FDCWD, folder.c_str(), RENAME_EXCHANGE) == 0) {
    ::unlink(fresh.c_str());  // the link now; left by a kill, it goes at the next switch
  } else if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP) {
    // A file system that cannot trade places (NFS): the link goes, then the folder
    // takes its name, and if it cannot, the link comes back.
    std::string target(4096, '\0');
    const ssize_t n = ::readlink(folder.c_str(), target.data(), target.size() - 1);
    if (n <= 0) return giveUp("Cannot read the link \"" + folder + "\".");
    target.resize(static_cast<size_t>(n));
    if (::unlink(folder.c_str()) != 0)
      return giveUp("Cannot replace the link \"" + folder + "\": " + FileErrorText(errno) + ".");
    if (::rename(fresh.c_str(), folder.c_str()) != 0) {
      const int why = errno;
      ::symlink(target.c_str(), folder.c_str());
      return giveUp("Cannot put the " + what + " in place: " + FileErrorText(why) + ".");
    }
  } else {
    return giveUp("Cannot put the " + what + " in place: " + FileErrorText(errno) + ".");
  }
  if (const int fd = ::open(gameDir.empty() ? "." : gameDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
  return true;
}

bool IsLevelFileName(const std::string& name) { return name.starts_with("FELD."); }
bool IsSolutionFileName(const std::string& name) { return name.ends_with(ReplayExtension); }

}  // namespace

bool LevelFolderIsSharedReadOnly(const std::string& gameDir) { return FolderIsSharedReadOnly(gameDir, LevelFolder); }

bool MakeOwnLevelFolder(const std::string& gameDir, std::string& error) {
  return MakeOwnFolder(gameDir, LevelFolder, IsLevelFileName, "levels folder", error);
}

bool SolutionFolderIsSharedReadOnly(const std::string& gameDir) {
  return FolderIsSharedReadOnly(gameDir, SolutionFolderName);
}

bool MakeOwnSolutionFolder(const std::string& gameDir, std::string& error) {
  return MakeOwnFolder(gameDir, SolutionFolderName, IsSolutionFileName, "solutions folder", error);
}
