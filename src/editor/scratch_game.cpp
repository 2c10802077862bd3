#include "editor/scratch_game.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "base/file_saving.h"
#include "base/files.h"
#include "base/process_identity.h"
#include "screens/display_choice.h"

namespace fs = std::filesystem;

namespace {

// "trok-edit-play-PID-STARTED-XXXXXX"; without a known start time of our own just
// "trok-edit-play-XXXXXX", which no sweep takes for abandoned.
constexpr std::string_view NamePrefix = "trok-edit-play-";
constexpr std::size_t UniqueLength = 6;

fs::path ParentOf(const std::string& parentDir, std::error_code& ec) {
  return parentDir.empty() ? fs::temp_directory_path(ec) : fs::path(parentDir);
}

// The owner tag a scratch directory's name records; empty when it is not such a name.
std::string_view OwnerTagOf(std::string_view name) {
  if (!name.starts_with(NamePrefix) || name.size() < NamePrefix.size() + UniqueLength + 2) return {};
  const std::size_t uniqueAt = name.size() - UniqueLength;
  if (name[uniqueAt - 1] != '-') return {};
  return name.substr(NamePrefix.size(), uniqueAt - 1 - NamePrefix.size());
}

bool CopyFileIn(const std::string& from, const std::string& to, std::string& error) {
  if (!FileExists(from)) return true;
  std::string bytes;
  if (!ReadWholeFile(from, bytes, error)) return false;
  return WriteNewFile(to, bytes, error) == NewFileResult::Written;
}

}  // namespace

bool MakeScratchGame(const LevelBytes& level, const ScratchGameSources& sources, std::string& dir,
                     std::string& error) {
  std::error_code ec;
  ProcessIdentity self;
  const std::string owner = ThisProcess(self) ? IdentityTag(self) + "-" : "";
  std::string pattern = (ParentOf(sources.parentDir, ec) / (std::string(NamePrefix) + owner + "XXXXXX")).string();
  if (ec || !::mkdtemp(pattern.data())) {
    error = "Cannot make a game directory to play in (" + pattern + ").";
    return false;
  }
  dir = pattern;
  auto fail = [&](const std::string& why) {
    RemoveScratchGame(dir);
    error = why;
    return false;
  };
  const fs::path data = fs::absolute(sources.dataDir.empty() ? "." : sources.dataDir, ec);
  for (const char* folder : {"Objects", "Sounds", "Music", "Pictures"}) {
    const fs::path target = fs::canonical(data / folder, ec);
    if (ec) {
      if (std::string(folder) == "Objects")
        return fail("Cannot play: the game's pictures (" + (data / folder).string() + ") are missing.");
      continue;  // the game manages without sounds, music or the title picture
    }
    fs::create_directory_symlink(target, fs::path(dir) / folder, ec);
    if (ec) return fail("Cannot link the game's " + std::string(folder) + " folder: " + ec.message() + ".");
  }
  fs::create_directory(fs::path(dir) / "FELDS", ec);
  if (ec) return fail("Cannot make the levels folder to play in: " + ec.message() + ".");
  const auto file = ScrambleLevel(level);
  std::string why;
  if (WriteNewFile(dir + "/FELDS/FELD.00", std::string_view(reinterpret_cast<const char*>(file.data()), file.size()),
                   why) != NewFileResult::Written)
    return fail(why);
  if (!CopyFileIn(sources.optionsFile, dir + "/Options.dat", why)) return fail(why);
  if (!CopyFileIn(sources.scoresFile, dir + "/HighScores.dat", why)) return fail(why);
  // Only a preference: without it the game is full screen.
  CopyFileIn(sources.displayFile, dir + "/" + DisplayChoiceFileName, why);
  return true;
}

void RemoveScratchGame(const std::string& dir) {
  if (dir.empty()) return;
  std::error_code ec;
  fs::remove_all(dir, ec);
}

int RemoveAbandonedScratchGames(const std::string& parentDir) {
  std::error_code ec;
  const fs::path parent = ParentOf(parentDir, ec);
  if (ec) return 0;
  int removed = 0;
  for (const auto& entry : fs::directory_iterator(parent, ec)) {
    const std::string name = entry.path().filename().string();
    const std::string_view owner = OwnerTagOf(name);
    if (owner.empty()) continue;
    struct stat st;
    if (::lstat(entry.path().c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) continue;
    if (!TagOfGoneProcess(owner)) continue;
    RemoveScratchGame(entry.path().string());
    ++removed;
  }
  return removed;
}
