#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "authoring/level_io.h"
#include "base/files.h"
#include "support/level_sketch.h"

namespace fs = std::filesystem;

namespace {

TextError ParseError(const std::string& text) {
  TextError error;
  EXPECT_FALSE(ParseLevelText(text, error).has_value()) << "accepted:\n" << text;
  return error;
}

std::string MapRows(int count, int width = LevelColumns, char fill = '.') {
  std::string t;
  for (int i = 0; i < count; ++i) t += std::string(width, fill) + "\n";
  return t;
}

class TempDir {
 public:
  TempDir() {
    path_ = fs::temp_directory_path() /
            ("level_tool_test_" + std::to_string(std::random_device{}()));
    fs::create_directories(path_);
  }
  ~TempDir() { fs::remove_all(path_); }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

TEST(LevelText, LegendCoversEveryCharacterOfTheLegendFileBothWays) {
  // Each legend character maps to one byte and back; '?' is not a legend character.
  int characters = 0;
  for (int v = 0; v < 256; ++v) {
    const char c = LegendCharOf(static_cast<uint8_t>(v));
    if (c == 0) continue;
    ++characters;
    EXPECT_EQ(LegendValueOf(c), v) << c;
  }
  EXPECT_EQ(characters, 49);
  EXPECT_EQ(LegendValueOf('?'), -1);
  EXPECT_EQ(LegendValueOf('#'), 1);
  EXPECT_EQ(LegendValueOf('w'), 59);
  EXPECT_EQ(LegendValueOf('N'), 52);
}

TEST(LevelText, RandomFilesRoundTripByteForByte) {
  std::mt19937 rng(20240517);
  for (int round = 0; round < 300; ++round) {
    LevelBytes bytes{};
    const int mode = round % 3;
    for (auto& b : bytes) {
      const int r = static_cast<int>(rng() % 256);
      // Uniform bytes, bytes mostly from the legend, and sparse levels with zeros.
      if (mode == 0) b = static_cast<uint8_t>(r);
      else if (mode == 1) b = static_cast<uint8_t>(r < 200 ? r % 60 : r);
      else b = static_cast<uint8_t>(r < 230 ? 0 : r);
    }
    const std::string text = FormatLevelText(bytes, "round " + std::to_string(round));
    TextError error;
    const auto back = ParseLevelText(text, error);
    ASSERT_TRUE(back.has_value()) << error.Format() << "\n" << text;
    ASSERT_EQ(*back, bytes) << "round " << round;
    // And formatting again gives the same text: the form is canonical.
    EXPECT_EQ(FormatLevelText(*back, "round " + std::to_string(round)), text);
  }
}

TEST(LevelText, EdgeValuesAndTrailerSurvive) {
  LevelBytes bytes{};
  bytes[0] = 255;
  bytes[1] = 78;
  bytes[2] = 77;
  bytes[2159] = 128;
  for (int i = 0; i < LevelTrailerSize; ++i) bytes[LevelCellBytes + i] = static_cast<uint8_t>(i * 7 + 1);
  const std::string text = FormatLevelText(bytes);
  EXPECT_NE(text.find("cell 0 0 255\n"), std::string::npos);
  EXPECT_NE(text.find("cell 35 59 128\n"), std::string::npos);
  EXPECT_NE(text.find("trailer 01 08 0F"), std::string::npos);
  TextError error;
  EXPECT_EQ(ParseLevelText(text, error), bytes);
  // Without trailing bytes no trailer line is written.
  EXPECT_EQ(FormatLevelText(LevelBytes{}).find("trailer"), std::string::npos);
}

TEST(LevelText, FilesRoundTripThroughScrambling) {
  TempDir dir;
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    std::string data(LevelFileSize, '\0');
    for (auto& c : data) c = static_cast<char>(rng() % 256);
    const std::string feld = dir / "FELD.00";
    ASSERT_TRUE(WriteWholeFile(feld, data));
    const LevelReadResult read = ReadLevelFile(feld);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_TRUE(read.warnings.empty());
    ASSERT_TRUE(WriteWholeFile(dir / "level.txt", FormatLevelText(read.bytes)));
    const LevelReadResult text = ReadLevelText(dir / "level.txt");
    ASSERT_TRUE(text.ok) << text.error;
    std::string error;
    ASSERT_TRUE(WriteLevelFile(dir / "FELD.01", text.bytes, error)) << error;
    std::string again;
    ASSERT_TRUE(ReadWholeFile(dir / "FELD.01", again, error)) << error;
    ASSERT_EQ(again, data) << "round " << round;
  }
}

TEST(LevelText, CompiledFileIsScrambledWithTheGameKey) {
  LevelBytes bytes{};
  bytes[5] = 23;
  const auto file = ScrambleLevel(bytes);
  const auto key = BuildLevelKey();
  EXPECT_EQ(file[0], key[0]);
  EXPECT_EQ(file[5], static_cast<uint8_t>(23 ^ key[5]));
  EXPECT_EQ(file[2199], key[2199 % 10]);
  EXPECT_EQ(LevelValue(static_cast<uint8_t>(file[5] ^ key[5])), 23);
}

TEST(LevelText, LongFileKeepsItsFirst2200BytesWithAWarningShortOneIsRefused) {
  TempDir dir;
  LevelBytes bytes{};
  bytes[100] = 1;
  const auto scrambled = ScrambleLevel(bytes);
  std::string data(scrambled.begin(), scrambled.end());
  ASSERT_TRUE(WriteWholeFile(dir / "FELD.00", data + "extra"));
  LevelReadResult r = ReadLevelFile(dir / "FELD.00");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.bytes, bytes);
  ASSERT_EQ(r.warnings.size(), 1u);
  EXPECT_NE(r.warnings[0].find("2205 bytes"), std::string::npos) << r.warnings[0];

  ASSERT_TRUE(WriteWholeFile(dir / "FELD.01", data.substr(0, 2199)));
  r = ReadLevelFile(dir / "FELD.01");
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("2199 bytes"), std::string::npos) << r.error;
  EXPECT_FALSE(ReadLevelFile(dir / "missing").ok);
}

TEST(LevelText, CommentsBlankLinesAndWindowsLineEndsAreAccepted) {
  std::string text = "# name\n\n  # indented comment\nmap\n" + MapRows(36) + "end\n# after\n\n";
  TextError error;
  EXPECT_TRUE(ParseLevelText(text, error).has_value()) << error.Format();
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_TRUE(ParseLevelText(crlf, error).has_value()) << error.Format();
}

TEST(LevelText, AByteOrderMarkAtTheStartIsSkippedByTheParserAndTheTool) {
  LevelBytes bytes{};
  bytes[7] = 1;
  const std::string text = FormatLevelText(bytes, "saved by an editor that marks UTF-8");
  const std::string marked = "\xEF\xBB\xBF" + text;
  TextError error;
  const auto parsed = ParseLevelText(marked, error);
  ASSERT_TRUE(parsed.has_value()) << error.Format();
  EXPECT_EQ(*parsed, bytes);
  TempDir dir;
  ASSERT_TRUE(WriteWholeFile(dir / "marked.txt", marked));
  const LevelReadResult read = ReadLevelText(dir / "marked.txt");
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.bytes, bytes);
  // Only at the start: anywhere else it is no map character.
  EXPECT_FALSE(ParseLevelText(text + "\xEF\xBB\xBF\n", error).has_value());
}

TEST(LevelText, ASourceLargerThanAMegabyteIsRefusedUnread) {
  TempDir dir;
  // A valid level followed by comment lines up to just past the limit.
  std::string text = FormatLevelText(LevelBytes{});
  const std::string comment = "# " + std::string(77, 'x') + "\n";
  while (text.size() <= MaxLevelTextBytes) text += comment;
  ASSERT_TRUE(WriteWholeFile(dir / "huge.txt", text));
  const LevelReadResult read = ReadLevelText(dir / "huge.txt");
  EXPECT_FALSE(read.ok);
  EXPECT_NE(read.error.find("too large to be a level in the text form"), std::string::npos) << read.error;
  // Up to the limit it is read.
  while (text.size() > MaxLevelTextBytes) text.resize(text.size() - comment.size());
  ASSERT_TRUE(WriteWholeFile(dir / "large.txt", text));
  EXPECT_TRUE(ReadLevelText(dir / "large.txt").ok);
}

TEST(LevelText, MapShapeErrorsNameLineAndColumn) {
  // Line numbers: 1 comment, 2 "map", map rows from line 3.
  TextError e = ParseError("# x\nmap\n" + MapRows(35) + "end\n");
  EXPECT_EQ(e.line, 38);
  EXPECT_NE(e.message.find("after 35 map rows"), std::string::npos) << e.message;

  e = ParseError("# x\nmap\n" + MapRows(37) + "end\n");
  EXPECT_EQ(e.line, 39);
  EXPECT_NE(e.message.find("expected 'end'"), std::string::npos) << e.message;

  e = ParseError("map\n" + MapRows(4) + std::string(59, '.') + "\n" + MapRows(31) + "end\n");
  EXPECT_EQ(e.line, 6);
  EXPECT_EQ(e.column, 60);
  EXPECT_NE(e.message.find("59 characters"), std::string::npos) << e.message;

  e = ParseError("map\n" + std::string(61, '.') + "\n" + MapRows(35) + "end\n");
  EXPECT_EQ(e.line, 2);
  EXPECT_EQ(e.column, 61);

  e = ParseError("map\n" + MapRows(2) + std::string(17, '.') + "Z" + std::string(42, '.') + "\n" +
                 MapRows(33) + "end\n");
  EXPECT_EQ(e.line, 4);
  EXPECT_EQ(e.column, 18);
  EXPECT_NE(e.message.find("'Z'"), std::string::npos) << e.message;
  EXPECT_EQ(e.Format("lvl.txt"), "lvl.txt:4:18: " + e.message);

  e = ParseError("map\n" + MapRows(36) + "end\nmap\n");
  EXPECT_EQ(e.line, 39);
  e = ParseError("# only a comment\n");
  EXPECT_NE(e.message.find("no map"), std::string::npos);
  e = ParseError("level\nmap\n");
  EXPECT_EQ(e.line, 1);
  e = ParseError("map\n" + MapRows(36) + "end\nsomething else\n");
  EXPECT_EQ(e.line, 39);
  EXPECT_EQ(e.column, 1);
}

TEST(LevelText, CellLineErrorsNameLineAndColumn) {
  std::string rows = MapRows(36);
  rows[LevelColumns + 1 + 7] = '?';  // row 1, column 7 (line 3 of the file)
  const std::string head = "map\n" + rows + "end\n";  // end is line 38

  TextError e = ParseError(head);
  EXPECT_EQ(e.line, 3);
  EXPECT_EQ(e.column, 8);
  EXPECT_NE(e.message.find("no cell line"), std::string::npos) << e.message;

  TextError ok;
  EXPECT_TRUE(ParseLevelText(head + "cell 1 7 200\n", ok).has_value()) << ok.Format();

  e = ParseError(head + "cell 1 7 200\ncell 1 7 201\n");
  EXPECT_EQ(e.line, 40);
  EXPECT_NE(e.message.find("duplicated"), std::string::npos) << e.message;
  EXPECT_NE(e.message.find("line 39"), std::string::npos) << e.message;

  e = ParseError(head + "cell 1 7 200\ncell 2 7 200\n");
  EXPECT_EQ(e.line, 40);
  EXPECT_EQ(e.column, 6);
  EXPECT_NE(e.message.find("stray"), std::string::npos) << e.message;

  e = ParseError(head + "cell 1 7 1\n");
  EXPECT_EQ(e.column, 10);
  EXPECT_NE(e.message.find("'#'"), std::string::npos) << e.message;

  e = ParseError(head + "cell 1 7 256\n");
  EXPECT_EQ(e.column, 10);
  e = ParseError(head + "cell 36 7 200\n");
  EXPECT_EQ(e.column, 6);
  e = ParseError(head + "cell 1 60 200\n");
  EXPECT_EQ(e.column, 8);
  e = ParseError(head + "cell 1 7\n");
  EXPECT_EQ(e.line, 39);
}

TEST(LevelText, TrailerErrors) {
  const std::string head = "map\n" + MapRows(36) + "end\n";
  std::string good = "trailer";
  for (int i = 0; i < 40; ++i) good += " 0A";
  TextError ok;
  auto bytes = ParseLevelText(head + good + "\n", ok);
  ASSERT_TRUE(bytes.has_value()) << ok.Format();
  EXPECT_EQ((*bytes)[2199], 0x0A);

  TextError e = ParseError(head + good.substr(0, good.size() - 3) + "\n");
  EXPECT_NE(e.message.find("found 39"), std::string::npos) << e.message;
  e = ParseError(head + good + " 0B\n");
  EXPECT_NE(e.message.find("found 41"), std::string::npos) << e.message;
  std::string bad = good;
  bad[8] = 'G';  // first byte
  e = ParseError(head + bad + "\n");
  EXPECT_EQ(e.line, 39);
  EXPECT_EQ(e.column, 9);
  e = ParseError(head + good + "\n" + good + "\n");
  EXPECT_EQ(e.line, 40);
  EXPECT_NE(e.message.find("second trailer"), std::string::npos);
}

}  // namespace
