#include "tile_maker/preview.h"

#include <cstdio>
#include <sstream>
#include <vector>

#include "tile_maker/pixel_map.h"
#include "tile_maker/tile_recipe.h"

namespace {

// 3 x 5 digits, one row of three bits per entry, top first.
constexpr int Digits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

void DrawNumber(Image& image, int value, int x, int y, int size, Color color) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  for (const char* p = text; *p; ++p) {
    const int* rows = Digits[*p - '0'];
    for (int r = 0; r < 5; ++r)
      for (int c = 0; c < 3; ++c)
        if (rows[r] & (4 >> c)) image.FillRect(x + c * size, y + r * size, size, size, color);
    x += 4 * size;
  }
}

constexpr int RoomWidth = 20, RoomHeight = 12;

}  // namespace

Image MakeContactSheet(const std::map<int, Image>& tiles, int scale) {
  const int columns = 11;
  const int cellW = TileSize * scale + 8, cellH = TileSize * scale + 20;
  const int rows = (static_cast<int>(tiles.size()) + columns - 1) / columns;
  Image sheet(columns * cellW + 8, rows * cellH + 8, Color{60, 60, 66});
  int i = 0;
  for (const auto& [code, tile] : tiles) {
    const int x = 8 + (i % columns) * cellW, y = 8 + (i / columns) * cellH;
    DrawNumber(sheet, code, x, y, 2, Color{255, 230, 120});
    sheet.BlitStretched(tile, x, y + 12, TileSize * scale, TileSize * scale);
    ++i;
  }
  return sheet;
}

std::optional<Image> MakeRoomPicture(const std::map<int, Image>& tiles, const std::string& roomText,
                                     const std::string& fileName, std::string& error) {
  Image room(RoomWidth * TileSize, RoomHeight * TileSize);
  std::istringstream in(roomText);
  std::string line;
  int lineNo = 0, y = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    const std::vector<std::string> words = SplitWords(line);
    if (words.empty() || words[0][0] == '#') continue;
    if (y >= RoomHeight || words.size() != RoomWidth) {
      error = fileName + ":" + std::to_string(lineNo) + ": expected 12 lines of 20 codes";
      return std::nullopt;
    }
    for (int x = 0; x < RoomWidth; ++x) {
      int code = -1;
      try {
        code = std::stoi(words[x]);
      } catch (...) {
        error = fileName + ":" + std::to_string(lineNo) + ": \"" + words[x] + "\" is not a code";
        return std::nullopt;
      }
      const auto it = tiles.find(code);
      if (it != tiles.end()) room.Blit(it->second, x * TileSize, y * TileSize);
    }
    ++y;
  }
  if (y != RoomHeight) {
    error = fileName + ": expected 12 lines of 20 codes, found " + std::to_string(y);
    return std::nullopt;
  }
  return room;
}
