#include "editor/scratch_game.h"

#include <stdlib.h>

#include <filesystem>

#include "base/file_saving.h"
#include "base/files.h"
#include "screens/display_choice.h"

namespace fs = std::filesystem;

namespace {

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
  std::string pattern = (fs::temp_directory_path(ec) / "trok-edit-play-XXXXXX").string();
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
