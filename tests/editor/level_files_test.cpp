// Opening and saving: byte for byte for every shipped level and for random files, the
// text form, damaged files, the next free number, a levels folder of the player's own.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "authoring/level_text.h"
#include "editor/level_files.h"
#include "scratch_folder.h"
#include "world/cell_codes.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Files(const fs::path& folder, const std::string& prefix) {
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().filename().string().rfind(prefix, 0) == 0) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

TEST(LevelFiles, EveryShippedLevelSavesBackByteForByte) {
  ScratchFolder scratch;
  const auto levels = Files(fs::path(TROK_GAME_DIR) / "FELDS", "FELD.");
  ASSERT_GE(levels.size(), 20u);
  for (const auto& level : levels) {
    OpenedLevel opened = OpenLevel(level.string());
    ASSERT_TRUE(opened.document) << opened.message;
    EXPECT_TRUE(opened.message.empty());
    EXPECT_FALSE(opened.document->Modified());
    const std::string copy = scratch / level.filename().string();
    std::string error;
    ASSERT_TRUE(SaveLevelAs(*opened.document, copy, LevelForm::LevelFile, error)) << error;
    EXPECT_EQ(ReadFileBytes(copy), ReadFileBytes(level.string())) << level;
  }
}

TEST(LevelFiles, RandomFilesSaveBackByteForByte) {
  ScratchFolder scratch;
  std::mt19937 dice(14);
  for (int i = 0; i < 50; ++i) {
    std::string bytes(LevelFileSize, '\0');
    for (char& c : bytes) c = static_cast<char>(dice());
    WriteFileBytes(scratch / "FELD.in", bytes);
    OpenedLevel opened = OpenLevel(scratch / "FELD.in");
    ASSERT_TRUE(opened.document) << opened.message;
    std::string error;
    ASSERT_TRUE(SaveLevelAs(*opened.document, scratch / "FELD.out", LevelForm::LevelFile, error)) << error;
    ASSERT_EQ(ReadFileBytes(scratch / "FELD.out"), bytes) << i;
    // Through the text form and back, too.
    ASSERT_TRUE(SaveLevelAs(*opened.document, scratch / "in.txt", LevelForm::Text, error)) << error;
    OpenedLevel text = OpenLevel(scratch / "in.txt");
    ASSERT_TRUE(text.document) << text.message;
    EXPECT_EQ(text.document->Bytes(), opened.document->Bytes());
  }
}

TEST(LevelFiles, TextSourcesKeepTheirHeadingAndCompileAsTheBuildDoes) {
  ScratchFolder scratch;
  for (const auto& source : Files(fs::path(TROK_SOURCE_DIR) / "levels", "")) {
    if (source.extension() != ".txt") continue;
    OpenedLevel opened = OpenLevel(source.string());
    ASSERT_TRUE(opened.document) << opened.message;
    EXPECT_EQ(opened.document->Form(), LevelForm::Text);
    EXPECT_EQ(opened.document->Comment().rfind("Level ", 0), 0u) << source;
    const std::string number = source.filename().string().substr(0, 2);
    const std::string compiled = std::string(TROK_GAME_DIR) + "/FELDS/FELD." + number;
    std::string error;
    ASSERT_TRUE(SaveLevelAs(*opened.document, scratch / "FELD", LevelForm::LevelFile, error)) << error;
    EXPECT_EQ(ReadFileBytes(scratch / "FELD"), ReadFileBytes(compiled)) << source;
    ASSERT_TRUE(SaveLevelAs(*opened.document, scratch / "again.txt", LevelForm::Text, error)) << error;
    const std::string again = ReadFileBytes(scratch / "again.txt");
    EXPECT_EQ(again.substr(0, again.find("map\n")), ReadFileBytes(source.string()).substr(0, again.find("map\n")))
        << "the heading comments come back";
  }
}

TEST(LevelFiles, DamagedFilesOpenWithAClearMessage) {
  ScratchFolder scratch;
  const std::string level = ReadFileBytes(std::string(TROK_GAME_DIR) + "/FELDS/FELD.00");
  WriteFileBytes(scratch / "FELD.short", level.substr(0, 1000));
  OpenedLevel shortFile = OpenLevel(scratch / "FELD.short");
  ASSERT_TRUE(shortFile.document);
  EXPECT_NE(shortFile.message.find("is damaged: it holds 1000 bytes"), std::string::npos) << shortFile.message;
  EXPECT_TRUE(shortFile.document->Modified()) << "saving would change the file";
  OpenedLevel whole = OpenLevel(std::string(TROK_GAME_DIR) + "/FELDS/FELD.00");
  for (int n = 0; n < 1000; ++n) EXPECT_EQ(shortFile.document->At(n), whole.document->At(n));
  for (int n = 1000; n < LevelFileSize; ++n) ASSERT_EQ(shortFile.document->Bytes()[n], 0) << "missing bytes are floor";

  WriteFileBytes(scratch / "FELD.long", level + "extra");
  OpenedLevel longFile = OpenLevel(scratch / "FELD.long");
  ASSERT_TRUE(longFile.document);
  EXPECT_NE(longFile.message.find("longer than a level file"), std::string::npos);
  EXPECT_EQ(longFile.document->Bytes(), whole.document->Bytes());

  WriteFileBytes(scratch / "broken.txt", "map\n###\nend\n");
  OpenedLevel text = OpenLevel(scratch / "broken.txt");
  EXPECT_FALSE(text.document);
  EXPECT_NE(text.message.find("not a level in the text form"), std::string::npos);
  EXPECT_NE(text.message.find("2:"), std::string::npos) << "names the line: " << text.message;

  OpenedLevel missing = OpenLevel(scratch / "FELD.99");
  EXPECT_FALSE(missing.document);
  EXPECT_NE(missing.message.find("Cannot open the level"), std::string::npos);
  fs::create_directory(scratch / "FELD.98");
  EXPECT_FALSE(OpenLevel(scratch / "FELD.98").document) << "a folder is no level";
}

TEST(LevelFiles, TextLevelsOverAMegabyteAreRefusedAndAByteOrderMarkIsNoHindrance) {
  ScratchFolder scratch;
  LevelDocument level;
  level.SetComment("My level");
  const std::string text = LevelFileContents(level, LevelForm::Text);
  WriteFileBytes(scratch / "marked.txt", "\xEF\xBB\xBF" + text);
  OpenedLevel marked = OpenLevel(scratch / "marked.txt");
  ASSERT_TRUE(marked.document) << marked.message;
  EXPECT_EQ(marked.document->Bytes(), level.Bytes());
  EXPECT_EQ(marked.document->Comment(), "My level\n") << "the heading is kept";

  std::string huge = text;
  while (huge.size() <= MaxLevelTextBytes) huge += "# padding padding padding padding padding padding\n";
  WriteFileBytes(scratch / "huge.txt", huge);
  OpenedLevel refused = OpenLevel(scratch / "huge.txt");
  EXPECT_FALSE(refused.document);
  EXPECT_NE(refused.message.find("too large to be a level in the text form"), std::string::npos) << refused.message;
}

TEST(LevelFiles, NextFreeNumberNeverReplacesAnything) {
  ScratchFolder scratch;
  fs::create_directory(scratch / "FELDS");
  WriteFileBytes(scratch / "FELDS/FELD.00", "x");
  fs::create_directory(scratch / "FELDS/FELD.01");  // anything holding a name takes it
  fs::create_symlink("nowhere", scratch / "FELDS/FELD.02");
  int number = -1;
  EXPECT_EQ(NextFreeLevelFile(scratch.WithSlash(), number), scratch.WithSlash() + "FELDS/FELD.03");
  EXPECT_EQ(number, 3);
  LevelDocument doc;
  std::string path, error;
  ASSERT_TRUE(SaveAsNextLevel(doc, scratch.WithSlash(), path, error)) << error;
  EXPECT_EQ(path, scratch.WithSlash() + "FELDS/FELD.03");
  EXPECT_EQ(ReadFileBytes(path), LevelFileContents(doc, LevelForm::LevelFile));
  EXPECT_EQ(ReadFileBytes(scratch / "FELDS/FELD.00"), "x");
  ASSERT_TRUE(SaveAsNextLevel(doc, scratch.WithSlash(), path, error)) << error;
  EXPECT_EQ(path, scratch.WithSlash() + "FELDS/FELD.04");
}

TEST(LevelFiles, ASharedReadOnlyLevelFolderBecomesThePlayersOwn) {
  ScratchFolder scratch;
  const bool root = ::geteuid() == 0;  // root may write into read-only folders
  fs::create_directories(scratch / "install/FELDS");
  WriteFileBytes(scratch / "install/FELDS/FELD.00", "level zero");
  WriteFileBytes(scratch / "install/FELDS/FELD.01", "level one");
  ::chmod((scratch / "install/FELDS").c_str(), 0555);
  fs::create_directory(scratch / "game");
  fs::create_symlink(scratch / "install/FELDS", scratch / "game/FELDS");
  const std::string game = scratch.WithSlash() + "game/";
  EXPECT_EQ(LevelFolderIsSharedReadOnly(game), !root);
  std::string error;
  ASSERT_TRUE(MakeOwnLevelFolder(game, error)) << error;
  EXPECT_FALSE(fs::is_symlink(scratch / "game/FELDS"));
  EXPECT_EQ(ReadFileBytes(scratch / "game/FELDS/FELD.01"), "level one");
  EXPECT_FALSE(LevelFolderIsSharedReadOnly(game));
  EXPECT_EQ(ReadFileBytes(scratch / "install/FELDS/FELD.00"), "level zero") << "the installation is untouched";
  ::chmod((scratch / "install/FELDS").c_str(), 0755);
}

}  // namespace
