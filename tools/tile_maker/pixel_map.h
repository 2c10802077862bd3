#pragma once
// Pixel art as text: a palette block that names colours by character, then rows of
// characters. Several maps share one base palette and may override any entry.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct PaletteColor {
  uint8_t r = 0, g = 0, b = 0;
  uint8_t alpha = 255;  // 0 = clear, 255 = opaque, between = mixed with what lies below
  bool operator==(const PaletteColor&) const = default;
};

using Palette = std::map<char, PaletteColor>;

struct PixelMap {
  std::string name;
  int width = 0;
  int height = 0;
  std::vector<char> cells;  // row by row from the top
  Palette palette;          // the base palette with this map's own entries laid over it

  char At(int x, int y) const { return cells[static_cast<size_t>(y) * width + x]; }
};

// Parse errors read "file:line: what".
struct ParseError {
  std::string text;
};

// "rrggbb" in hex, optionally followed by an alpha of 0..255, or the word "clear".
std::optional<PaletteColor> ParseColorWords(const std::vector<std::string>& words);

// A palette file: lines "<char> <colour>", blank lines and '#' comments.
Palette ParsePalette(const std::string& text, const std::string& fileName, std::vector<ParseError>& errors);

// A map file: optional '#' comments, an optional "palette" section, then "pixels" and
// the rows. Every character used must be in the map's palette or in base.
std::optional<PixelMap> ParsePixelMap(const std::string& text, const std::string& fileName,
                                      const Palette& base, std::vector<ParseError>& errors);

// Turned a quarter clockwise.
PixelMap RotateClockwise(const PixelMap& map);
PixelMap FlipHorizontal(const PixelMap& map);
PixelMap FlipVertical(const PixelMap& map);

std::vector<std::string> SplitWords(const std::string& line);
