// The editor's saves killed at every point where they change files: a level saved in
// place (both forms), a new level saved as the game's next one, and the switch to a
// levels folder of the player's own. After each kill the level file is the old or the
// new one, whole, and the levels are all there: the installed ones or the copies.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "editor/level_files.h"
#include "scratch_folder.h"
#include "support/kill_points.h"
#include "world/cell_codes.h"

namespace {

namespace fs = std::filesystem;

LevelDocument Changed(const LevelDocument& from, uint8_t code) {
  LevelDocument changed = from;
  changed.Set({CellAt(3, 3), CellAt(40, 20)}, code);
  return changed;
}

// The names in `folder` other than the save's temporary files (which the next save removes).
std::vector<std::string> Lasting(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    if (name.find(".new-") == std::string::npos) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Removes what killed saves left in `folder`, so that every run starts alike.
void RemoveLeftovers(const std::string& folder, const std::string& marker) {
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().filename().string().find(marker) != std::string::npos) fs::remove_all(e.path());
}

TEST(LevelSaveKills, ALevelSavedInPlaceIsTheOldOrTheNewOneInBothForms) {
  ScratchFolder scratch;
  const LevelDocument old = *OpenLevel(std::string(TROK_GAME_DIR) + "/FELDS/FELD.02").document;
  const LevelDocument changed = Changed(old, Cell::Money);
  for (const LevelForm form : {LevelForm::LevelFile, LevelForm::Text}) {
    const std::string path = scratch / (form == LevelForm::Text ? "level.txt" : "FELD.02");
    const std::string before = LevelFileContents(old, form), after = LevelFileContents(changed, form);
    std::string error;
    ASSERT_TRUE(SaveLevelAs(old, path, form, error)) << error;
    const int points = RunKilledAt(0, [&] { SaveLevelAs(changed, path, form, error); });
    ASSERT_GT(points, 2) << "tracing the save failed";
    ASSERT_EQ(ReadFileBytes(path), after);
    for (int at = 1; at <= points; ++at) {
      ASSERT_TRUE(SaveLevelAs(old, path, form, error)) << error;
      RunKilledAt(at, [&] { SaveLevelAs(changed, path, form, error); });
      const std::string now = ReadFileBytes(path);
      ASSERT_TRUE(now == before || now == after) << "killed at change " << at << ": a torn level file";
    }
  }
}

TEST(LevelSaveKills, ANewLevelIsTheGamesNextLevelWholeOrNotThere) {
  ScratchFolder scratch;
  fs::create_directory(scratch / "FELDS");
  WriteFileBytes(scratch / "FELDS/FELD.00", "zero");
  const LevelDocument level = Changed(LevelDocument(), Cell::Start);
  const std::string contents = LevelFileContents(level, LevelForm::LevelFile);
  std::string path, error;
  const int points = RunKilledAt(0, [&] { SaveAsNextLevel(level, scratch.WithSlash(), path, error); });
  ASSERT_GT(points, 1);
  ASSERT_EQ(ReadFileBytes(scratch / "FELDS/FELD.01"), contents);
  for (int at = 1; at <= points; ++at) {
    fs::remove(scratch / "FELDS/FELD.01");
    RemoveLeftovers(scratch / "FELDS", ".new-");
    RunKilledAt(at, [&] { SaveAsNextLevel(level, scratch.WithSlash(), path, error); });
    if (fs::exists(scratch / "FELDS/FELD.01")) {
      ASSERT_EQ(ReadFileBytes(scratch / "FELDS/FELD.01"), contents) << "killed at change " << at;
    }
    EXPECT_EQ(ReadFileBytes(scratch / "FELDS/FELD.00"), "zero");
  }
}

TEST(LevelSaveKills, TheSwitchToAFolderOfOwnLevelsLeavesTheLinkOrTheWholeFolder) {
  ScratchFolder scratch;
  const std::string install = scratch / "install";
  fs::create_directories(install + "/FELDS");
  const std::vector<std::string> levels{"FELD.00", "FELD.01", "FELD.02", "FELD.03"};
  for (const std::string& name : levels)
    WriteFileBytes(install + "/FELDS/" + name, ReadFileBytes(std::string(TROK_GAME_DIR) + "/FELDS/" + name));
  ::chmod((install + "/FELDS").c_str(), 0555);
  const std::string game = scratch.WithSlash() + "game/";
  fs::create_directory(game);
  auto linkAgain = [&] {
    fs::remove_all(game + "FELDS");
    fs::create_directory_symlink(install + "/FELDS", game + "FELDS");
  };
  auto startAgain = [&] {
    RemoveLeftovers(game, ".own-");
    linkAgain();
  };
  std::string error;
  startAgain();
  const int points = RunKilledAt(0, [&] { MakeOwnLevelFolder(game, error); });
  ASSERT_GT(points, static_cast<int>(levels.size()));
  ASSERT_FALSE(fs::is_symlink(game + "FELDS"));
  int switched = 0;
  for (int at = 1; at <= points; ++at) {
    startAgain();
    RunKilledAt(at, [&] { MakeOwnLevelFolder(game, error); });
    const std::string where = "killed at change " + std::to_string(at);
    ASSERT_TRUE(fs::exists(game + "FELDS")) << where << ": no levels at all";
    if (fs::is_symlink(game + "FELDS")) {
      ASSERT_EQ(fs::read_symlink(game + "FELDS"), install + "/FELDS") << where;
    } else {
      ++switched;
      ASSERT_EQ(Lasting(game + "FELDS"), levels) << where;
      for (const std::string& name : levels)
        ASSERT_EQ(ReadFileBytes(game + "FELDS/" + name), ReadFileBytes(install + "/FELDS/" + name)) << where;
    }
  }
  EXPECT_GE(switched, 1) << "some kills came after the switch";
  // What a killed switch left beside the folder goes with the next one.
  startAgain();
  RunKilledAt(points / 2, [&] { MakeOwnLevelFolder(game, error); });
  linkAgain();
  ASSERT_GT(Lasting(game).size(), 1u);
  ASSERT_TRUE(MakeOwnLevelFolder(game, error)) << error;
  EXPECT_EQ(Lasting(game), std::vector<std::string>{"FELDS"});
  for (const std::string& name : levels)
    EXPECT_EQ(ReadFileBytes(game + "FELDS/" + name), ReadFileBytes(install + "/FELDS/" + name));
  ::chmod((install + "/FELDS").c_str(), 0755);
}

}  // namespace
