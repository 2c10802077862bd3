#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "authoring/level_check.h"
#include "authoring/level_io.h"
#include "authoring/level_picture.h"
#include "base/bmp_file.h"
#include "base/files.h"
#include "level_tool/high_score_file.h"
#include "level_tool/level_build.h"
#include "support/level_sketch.h"

namespace fs = std::filesystem;

namespace {

class TempDir {
 public:
  TempDir() {
    path_ = fs::temp_directory_path() /
            ("level_build_test_" + std::to_string(std::random_device{}()));
    fs::create_directories(path_);
  }
  ~TempDir() { fs::remove_all(path_); }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

std::string SimpleLevel() {
  MapSketch m;
  m.Set(5, 5, 'S').Set(5, 10, 'E');
  return m.Text();
}

bool HasMessage(const std::vector<std::string>& list, const std::string& part) {
  return std::any_of(list.begin(), list.end(),
                     [&](const std::string& s) { return s.find(part) != std::string::npos; });
}

std::map<int, fs::path> ShippedLevels() {
  std::map<int, fs::path> levels;
  for (const auto& e : fs::directory_iterator(fs::path(TROK_SOURCE_DIR) / "levels"))
    if (e.path().extension() == ".txt")
      levels[LevelNumberOfSource(e.path().filename().string())] = e.path();
  return levels;
}

TEST(LevelBuild, CompilesEverySourceIntoItsNumberedFile) {
  TempDir dir;
  fs::create_directories(dir / "levels");
  ASSERT_TRUE(WriteWholeFile(dir / "levels/00-first.txt", SimpleLevel()));
  ASSERT_TRUE(WriteWholeFile(dir / "levels/01-second.txt", SimpleLevel()));
  ASSERT_TRUE(WriteWholeFile(dir / "levels/README.md", "not a level"));
  fs::create_directories(dir / "FELDS");
  ASSERT_TRUE(WriteWholeFile(dir / "FELDS/FELD.07", std::string(2200, 'x')));

  const BuildMessages m = CompileAllLevels(dir / "levels", dir / "FELDS");
  ASSERT_TRUE(m.errors.empty()) << m.errors[0];
  EXPECT_EQ(m.compiled, 2);
  const LevelReadResult back = ReadLevelFile(dir / "FELDS/FELD.01");
  ASSERT_TRUE(back.ok);
  const LevelReadResult source = ReadLevelText(dir / "levels/01-second.txt");
  EXPECT_EQ(back.bytes, source.bytes);
  EXPECT_EQ(fs::file_size(dir / "FELDS/FELD.00"), 2200u);
  EXPECT_FALSE(fs::exists(dir / "FELDS/FELD.07")) << "a stale level would still be played";
}

TEST(LevelBuild, AnyBadLevelStopsTheBuildAndWritesNothing) {
  TempDir dir;
  fs::create_directories(dir / "levels");
  ASSERT_TRUE(WriteWholeFile(dir / "levels/00-good.txt", SimpleLevel()));
  std::string bad = SimpleLevel();
  bad[bad.find("map\n") + 4 + 61 * 3 + 2] = 'Z';  // row 3, column 2
  ASSERT_TRUE(WriteWholeFile(dir / "levels/01-bad.txt", bad));

  BuildMessages m = CompileAllLevels(dir / "levels", dir / "FELDS");
  ASSERT_EQ(m.errors.size(), 1u);
  EXPECT_NE(m.errors[0].find("01-bad.txt:6:3:"), std::string::npos) << m.errors[0];
  EXPECT_FALSE(fs::exists(dir / "FELDS/FELD.00"));

  // A level the checker refuses stops it too.
  MapSketch unreachable;
  unreachable.CloseAllRooms().Set(5, 5, 'S').Set(5, 30, 'E');
  ASSERT_TRUE(WriteWholeFile(dir / "levels/01-bad.txt", unreachable.Text()));
  m = CompileAllLevels(dir / "levels", dir / "FELDS");
  EXPECT_TRUE(HasMessage(m.errors, "01-bad.txt: one player cannot reach the Finish"));

  // So does one it cannot prove either way: that is no error of the level, but nothing
  // unproven is shipped.
  fs::copy_file(fs::path(TROK_SOURCE_DIR) / "tests/authoring/levels/hard/hard-1.txt", dir / "levels/01-bad.txt",
                fs::copy_options::overwrite_existing);
  m = CompileAllLevels(dir / "levels", dir / "FELDS");
  EXPECT_EQ(m.errors, std::vector<std::string>{dir / "levels/01-bad.txt: not proven: too many possibilities"});
  EXPECT_EQ(m.compiled, 0);
  EXPECT_FALSE(fs::exists(dir / "FELDS/FELD.00"));
}

TEST(LevelBuild, NumberingMustBeAnUnbrokenRunFromZero) {
  TempDir dir;
  fs::create_directories(dir / "levels");
  ASSERT_TRUE(WriteWholeFile(dir / "levels/00-a.txt", SimpleLevel()));
  ASSERT_TRUE(WriteWholeFile(dir / "levels/02-c.txt", SimpleLevel()));
  BuildMessages m = CompileAllLevels(dir / "levels", dir / "FELDS");
  EXPECT_TRUE(HasMessage(m.errors, "level 1 is missing"));

  ASSERT_TRUE(WriteWholeFile(dir / "levels/01-b.txt", SimpleLevel()));
  ASSERT_TRUE(WriteWholeFile(dir / "levels/01-again.txt", SimpleLevel()));
  m = CompileAllLevels(dir / "levels", dir / "FELDS");
  EXPECT_TRUE(HasMessage(m.errors, "level 1 is also"));

  fs::remove(dir / "levels/01-again.txt");
  ASSERT_TRUE(WriteWholeFile(dir / "levels/third.txt", SimpleLevel()));
  m = CompileAllLevels(dir / "levels", dir / "FELDS");
  EXPECT_TRUE(HasMessage(m.errors, "NN-name.txt"));

  EXPECT_EQ(LevelNumberOfSource("07-seven.txt"), 7);
  EXPECT_EQ(LevelNumberOfSource("7-seven.txt"), -1);
  EXPECT_EQ(LevelNumberOfSource("07-seven.md"), -1);
}

// The levels that ship: numbered without gaps, each one finishable by one player and
// by two together, and between them every object a level can hold.
TEST(ShippedLevels, EveryLevelCanBeFinishedByOneAndByTwoPlayers) {
  const auto levels = ShippedLevels();
  ASSERT_GE(levels.size(), 30u);
  int expected = 0;
  for (const auto& [number, path] : levels) {
    EXPECT_EQ(number, expected++) << path;
    const LevelReadResult read = ReadLevelText(path.string());
    ASSERT_TRUE(read.ok) << read.error;
    const CheckReport r = CheckLevel(read.bytes);
    EXPECT_TRUE(r.Ok()) << path << ": " << (r.errors.empty() ? "" : r.errors.front());
    EXPECT_TRUE(r.bothStartsUsable) << path;
    // Shipped levels leave nothing to note: no way out into the floor rooms around
    // them, no crossing that overwrites a wall, no move that strands a player.
    for (const auto& note : r.notes) ADD_FAILURE() << path << ": " << note;
  }
}

TEST(ShippedLevels, TogetherTheyHoldEveryObjectALevelCanHold) {
  std::set<int> used;
  for (const auto& [number, path] : ShippedLevels()) {
    const LevelReadResult read = ReadLevelText(path.string());
    ASSERT_TRUE(read.ok) << read.error;
    for (int n = 0; n < LevelCellBytes; ++n) used.insert(LevelValue(read.bytes[n]));
  }
  std::vector<int> wanted;
  for (int c = 0; c <= 24; ++c) wanted.push_back(c);
  for (int c : {31, 32, 33, 34, 35, 36, 37, 38, 39, 42, 48, 49, 50, 51}) wanted.push_back(c);
  for (int c = 52; c <= 59; ++c) wanted.push_back(c);
  for (int c : wanted) EXPECT_TRUE(used.count(c)) << "no level holds code " << c;
}

TEST(ShippedLevels, FirstLevelIsGentle) {
  const auto levels = ShippedLevels();
  ASSERT_FALSE(levels.empty());
  const LevelReadResult read = ReadLevelText(levels.begin()->second.string());
  ASSERT_TRUE(read.ok);
  std::map<int, int> count;
  for (int n = 0; n < LevelCellBytes; ++n) ++count[LevelValue(read.bytes[n])];
  for (int hard : {3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 31, 32, 37, 38, 52, 53, 54, 55, 56, 57,
                   58, 59})
    EXPECT_EQ(count[hard], 0) << "level 0 holds code " << hard;
  EXPECT_GE(count[Cell::Key], 1);
  EXPECT_GE(count[Cell::Door], 1);
  EXPECT_GE(count[Cell::Money], 1);
  EXPECT_GE(count[Cell::Ant], 1);
  EXPECT_LE(count[Cell::Ant], 12);
}

TEST(HighScoreFile, StartingTableFollowsTheSavedGridLayout) {
  const std::string text = FormatHighScoreFile(StartingHighScores());
  // Every line ends in CR LF and there are no bare line feeds.
  std::size_t lines = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') {
      ASSERT_GT(i, 0u);
      EXPECT_EQ(text[i - 1], '\r') << "at byte " << i;
      ++lines;
    }
  EXPECT_EQ(lines, 4u + 16u);
  EXPECT_EQ(text.rfind("version1.0\r\n5 16\r\n", 0), 0u);
  EXPECT_NE(text.find("\r\n20 20 20 20 20 20 20 20 20 20 20 20\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n8 pelvorin 1 1 5 Mirel 5 24850 2 19 \r\n"), std::string::npos);

  std::string error;
  const auto grid = ParseHighScoreFile(text, error);
  ASSERT_TRUE(grid.has_value()) << error;
  ASSERT_EQ(grid->columns, 5);
  ASSERT_EQ(grid->rows, 16);
  EXPECT_EQ(grid->cell[1][0], "pelvorin");
  long previous = 1L << 40;
  for (int row = 1; row <= 15; ++row) {
    const auto& cells = grid->cell[row];
    EXPECT_EQ(cells[1], std::to_string(row));
    EXPECT_FALSE(cells[2].empty());
    ASSERT_FALSE(cells[3].empty());
    ASSERT_TRUE(std::all_of(cells[3].begin(), cells[3].end(), ::isdigit)) << cells[3];
    ASSERT_TRUE(std::all_of(cells[4].begin(), cells[4].end(), ::isdigit)) << cells[4];
    const long score = std::stol(cells[3]);
    EXPECT_LT(score, previous);
    previous = score;
  }
  // Names with spaces survive thanks to the length prefix.
  EXPECT_EQ(grid->cell[2][2], "Tamsin Oakhollow");
}

TEST(HighScoreFile, ReaderRefusesOtherVersionsAndBrokenCells) {
  std::string error;
  std::string text = FormatHighScoreFile(StartingHighScores());
  EXPECT_FALSE(ParseHighScoreFile("Version1.0" + text.substr(10), error).has_value());
  EXPECT_FALSE(ParseHighScoreFile(text.substr(0, text.size() - 30), error).has_value());
  EXPECT_NE(error.find("bad cell"), std::string::npos) << error;
}

TEST(HighScoreFile, ShippedFileIsTheGeneratedOne) {
  std::string shipped, error;
  ASSERT_TRUE(ReadWholeFile(std::string(TROK_SOURCE_DIR) + "/data/HighScores.dat", shipped, error))
      << error;
  EXPECT_EQ(shipped, FormatHighScoreFile(StartingHighScores()));
}

// Tiles of one flat colour per code make every cell of the picture identifiable.
Color TileColor(int code) {
  return Color{static_cast<uint8_t>(code * 2), static_cast<uint8_t>(255 - code),
               static_cast<uint8_t>(code * 3 % 256)};
}

TEST(LevelPicture, DrawsEveryRoomWithItsTilesAndBorders) {
  TempDir dir;
  fs::create_directories(dir / "Objects");
  for (int code = 0; code <= 98; ++code) {
    if (TileFileName(code).empty()) continue;
    std::string error;
    ASSERT_TRUE(SaveBmp24(Image(32, 32, TileColor(code)), dir / ("Objects/" + TileFileName(code)), error))
        << error;
  }
  EXPECT_EQ(TileFileName(0), "00-Floor.bmp");
  EXPECT_EQ(TileFileName(43), "43-DeathField(forEditor).bmp");
  EXPECT_EQ(TileFileName(98), "98-LaserSet4-5.bmp");
  EXPECT_EQ(TileFileName(70), "");

  MapSketch m;
  m.Set(5, 5, 'S').Set(30, 50, 'E').Set(13, 21, 'k');
  LevelBytes bytes = m.Bytes();
  bytes[20 * LevelColumns + 30] = 70;  // a code without a picture

  Image picture;
  std::string error;
  ASSERT_TRUE(RenderLevelPicture(bytes, dir / "Objects", picture, error)) << error;
  ASSERT_EQ(picture.Width(), 3 * 640 + 4 * PictureGap);
  ASSERT_EQ(picture.Height(), 3 * 384 + 4 * PictureGap);
  auto cellPixel = [&](int row, int col) {
    const int x = PictureGap + (col / 20) * (640 + PictureGap) + (col % 20) * 32 + 16;
    const int y = PictureGap + (row / 12) * (384 + PictureGap) + (row % 12) * 32 + 16;
    return picture.PixelColor(x, y);
  };
  EXPECT_EQ(cellPixel(0, 0), TileColor(1));
  EXPECT_EQ(cellPixel(1, 1), TileColor(0));
  EXPECT_EQ(cellPixel(5, 5), TileColor(23));
  EXPECT_EQ(cellPixel(5, 4), TileColor(25)) << "player 1 stands left of the Start";
  EXPECT_EQ(cellPixel(5, 6), TileColor(26));
  EXPECT_EQ(cellPixel(13, 21), TileColor(19));
  EXPECT_EQ(cellPixel(30, 50), TileColor(24));
  EXPECT_NE(cellPixel(20, 30), TileColor(0));
  // The gap between rooms (0,0) and (1,0) is not any tile.
  const Color gap = picture.PixelColor(PictureGap + 640 + 1, 100);
  EXPECT_EQ(gap, picture.PixelColor(1, 1));
  EXPECT_NE(gap, TileColor(0));
  EXPECT_NE(gap, TileColor(1));

  fs::remove(dir / "Objects/19-Key.bmp");
  EXPECT_FALSE(RenderLevelPicture(bytes, dir / "Objects", picture, error));
  EXPECT_NE(error.find("19-Key.bmp"), std::string::npos) << error;
}

}  // namespace
