#include "tile_maker/pixel_map.h"

#include <sstream>

namespace {

constexpr int MaxMapSide = 64;

std::string Where(const std::string& fileName, int line) { return fileName + ":" + std::to_string(line) + ": "; }

bool ParseHexByte(const std::string& s, size_t at, uint8_t& out) {
  int value = 0;
  for (size_t i = at; i < at + 2; ++i) {
    const char c = s[i];
    int digit = 0;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return false;
    value = value * 16 + digit;
  }
  out = static_cast<uint8_t>(value);
  return true;
}

std::string TrimRight(std::string s) {
  while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t')) s.pop_back();
  return s;
}

// "<char> <colour words>" of a palette line; false with a message when malformed.
bool ParsePaletteLine(const std::string& line, char& key, PaletteColor& color, std::string& why) {
  const std::vector<std::string> words = SplitWords(line);
  if (words.size() < 2 || words[0].size() != 1) {
    why = "expected a character and a colour";
    return false;
  }
  key = words[0][0];
  const auto parsed = ParseColorWords(std::vector<std::string>(words.begin() + 1, words.end()));
  if (!parsed) {
    why = "bad colour (use rrggbb, rrggbb alpha or clear)";
    return false;
  }
  color = *parsed;
  return true;
}

}  // namespace

std::vector<std::string> SplitWords(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  std::string w;
  while (in >> w) words.push_back(w);
  return words;
}

std::optional<PaletteColor> ParseColorWords(const std::vector<std::string>& words) {
  if (words.size() == 1 && words[0] == "clear") return PaletteColor{0, 0, 0, 0};
  if (words.empty() || words.size() > 2 || words[0].size() != 6) return std::nullopt;
  PaletteColor c;
  if (!ParseHexByte(words[0], 0, c.r) || !ParseHexByte(words[0], 2, c.g) || !ParseHexByte(words[0], 4, c.b))
    return std::nullopt;
  if (words.size() == 2) {
    const std::string& a = words[1];
    if (a.empty() || a.size() > 3 || a.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    const int alpha = std::stoi(a);
    if (alpha > 255) return std::nullopt;
    c.alpha = static_cast<uint8_t>(alpha);
  }
  return c;
}

Palette ParsePalette(const std::string& text, const std::string& fileName, std::vector<ParseError>& errors) {
  Palette palette;
  std::istringstream in(text);
  std::string raw;
  int lineNo = 0;
  while (std::getline(in, raw)) {
    ++lineNo;
    const std::string line = TrimRight(raw);
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    char key = 0;
    PaletteColor color;
    std::string why;
    if (!ParsePaletteLine(line, key, color, why)) {
      errors.push_back({Where(fileName, lineNo) + why});
      continue;
    }
    palette[key] = color;
  }
  return palette;
}

std::optional<PixelMap> ParsePixelMap(const std::string& text, const std::string& fileName, const Palette& base,
                                      std::vector<ParseError>& errors) {
  enum class Section { Head, Colors, Pixels } section = Section::Head;
  PixelMap map;
  map.name = fileName;
  map.palette = base;
  Palette own;
  std::vector<int> rowLines;
  bool ended = false;
  const size_t errorsBefore = errors.size();
  std::istringstream in(text);
  std::string raw;
  int lineNo = 0;
  auto fail = [&](int at, const std::string& why) { errors.push_back({Where(fileName, at) + why}); };

  while (std::getline(in, raw)) {
    ++lineNo;
    const std::string line = TrimRight(raw);
    if (section != Section::Pixels) {
      const auto first = line.find_first_not_of(" \t");
      if (first == std::string::npos || line[first] == '#') continue;
      const std::string word = line.substr(first);
      if (word == "palette") {
        section = Section::Colors;
        continue;
      }
      if (word == "pixels") {
        section = Section::Pixels;
        continue;
      }
      if (section == Section::Head) {
        fail(lineNo, "expected \"palette\" or \"pixels\"");
        return std::nullopt;
      }
      char key = 0;
      PaletteColor color;
      std::string why;
      if (!ParsePaletteLine(line, key, color, why)) fail(lineNo, why);
      else own[key] = color;
      continue;
    }
    // Pixel rows: a blank line ends them; nothing but blank lines may follow.
    if (line.empty()) {
      if (!rowLines.empty()) ended = true;
      continue;
    }
    if (ended) {
      fail(lineNo, "pixel row after the blank line that ended the picture");
      return std::nullopt;
    }
    if (line.find_first_of(" \t") != std::string::npos) {
      fail(lineNo, "pixel rows may not contain blanks");
      return std::nullopt;
    }
    if (map.width == 0) map.width = static_cast<int>(line.size());
    if (static_cast<int>(line.size()) != map.width) {
      fail(lineNo, "row is " + std::to_string(line.size()) + " characters wide, expected " +
                       std::to_string(map.width));
      return std::nullopt;
    }
    if (map.width > MaxMapSide || static_cast<int>(rowLines.size()) >= MaxMapSide) {
      fail(lineNo, "picture larger than " + std::to_string(MaxMapSide) + " x " + std::to_string(MaxMapSide));
      return std::nullopt;
    }
    rowLines.push_back(lineNo);
    map.cells.insert(map.cells.end(), line.begin(), line.end());
  }
  if (section != Section::Pixels || rowLines.empty()) {
    fail(lineNo == 0 ? 1 : lineNo, "no pixel rows (a \"pixels\" line followed by rows)");
    return std::nullopt;
  }
  map.height = static_cast<int>(rowLines.size());
  for (const auto& [key, color] : own) map.palette[key] = color;
  for (int y = 0; y < map.height; ++y) {
    for (int x = 0; x < map.width; ++x) {
      const char c = map.At(x, y);
      if (!map.palette.count(c)) {
        fail(rowLines[y], std::string("character '") + c + "' at column " + std::to_string(x + 1) +
                              " is not in the palette");
        return std::nullopt;
      }
    }
  }
  if (errors.size() != errorsBefore) return std::nullopt;
  return map;
}

PixelMap RotateClockwise(const PixelMap& map) {
  PixelMap out = map;
  out.width = map.height;
  out.height = map.width;
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      out.cells[static_cast<size_t>(y) * out.width + x] = map.At(y, map.height - 1 - x);
  return out;
}

PixelMap FlipHorizontal(const PixelMap& map) {
  PixelMap out = map;
  for (int y = 0; y < map.height; ++y)
    for (int x = 0; x < map.width; ++x) out.cells[static_cast<size_t>(y) * map.width + x] = map.At(map.width - 1 - x, y);
  return out;
}

PixelMap FlipVertical(const PixelMap& map) {
  PixelMap out = map;
  for (int y = 0; y < map.height; ++y)
    for (int x = 0; x < map.width; ++x) out.cells[static_cast<size_t>(y) * map.width + x] = map.At(x, map.height - 1 - y);
  return out;
}
