#pragma once
// The readable text form of a level: a 60 x 36 character map with a legend, `cell`
// lines for bytes that have no character, and the 40 unused trailing bytes.
#include <array>
#include <cstdint>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "world/level_file.h"

// The unscrambled contents of a level file.
using LevelBytes = std::array<uint8_t, LevelFileSize>;

constexpr int LevelTrailerSize = LevelFileSize - LevelCellBytes;  // 40

// Map character of an unscrambled byte, or 0 when the legend has none.
char LegendCharOf(uint8_t value);
// Unscrambled byte of a map character, or -1 when the legend has none ('?' included).
int LegendValueOf(char c);
// The legend's table as levels/LEGEND.md shows it, one line per character, made from
// the cell table (a test keeps the file in step).
std::string LegendMarkdown();

struct TextError {
  int line = 0;    // 1-based; 0 when no line applies
  int column = 0;  // 1-based; 0 when the whole line is meant
  std::string message;
  // "LINE:COLUMN: message" (or "LINE: message"), prefixed by the source name when given.
  std::string Format(const std::string& sourceName = "") const;
};

// A level's text takes a few kilobytes; readers refuse files larger than this.
inline constexpr std::size_t MaxLevelTextBytes = std::size_t{1} << 20;

// The text without the UTF-8 byte-order mark some editors put at its start.
std::string_view WithoutByteOrderMark(std::string_view text);

// Reads the text form (a byte-order mark at its start is skipped); on failure returns
// nothing and fills `error`.
std::optional<LevelBytes> ParseLevelText(std::string_view text, TextError& error);
// Writes the text form; ParseLevelText of the result gives `bytes` back exactly.
// `comment` lines (without '#') head the file.
std::string FormatLevelText(const LevelBytes& bytes, const std::string& comment = "");

// The file's bytes, scrambled, and back.
std::array<uint8_t, LevelFileSize> ScrambleLevel(const LevelBytes& bytes);
LevelBytes UnscrambleLevel(const uint8_t* fileBytes);
