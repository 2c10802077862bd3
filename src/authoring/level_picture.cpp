#include "authoring/level_picture.h"

#include <array>
#include <map>

#include "base/bmp_file.h"
#include "world/cell_codes.h"
#include "world/tile_names.h"
#include "world/world_grid.h"

namespace {

constexpr Color BorderColor{255, 0, 255};

// Codes with no picture: dark grey with a red cross, so they stand out.
void DrawMissingTile(Image& out, int px, int py) {
  out.FillRect(px, py, PictureTile, PictureTile, Color{40, 40, 40});
  for (int i = 2; i < PictureTile - 2; ++i) {
    out.SetPixel(px + i, py + i, Color{220, 0, 0});
    out.SetPixel(px + PictureTile - 1 - i, py + i, Color{220, 0, 0});
  }
}

}  // namespace

std::string TileFileName(int code) {
  const char* file = TilePictureFile(code);
  return file ? file : "";
}

bool RenderLevelPicture(const LevelBytes& bytes, const std::string& objectsDir, Image& out,
                        std::string& error) {
  std::array<CellCode, LevelCellBytes> cells{};
  for (int n = 0; n < LevelCellBytes; ++n) cells[n] = LevelValue(bytes[n]);
  // The players' markers, where the loader puts them (first Start in its order).
  bool placed = false;
  for (int ry = 0; ry < 3 && !placed; ++ry)
    for (int rx = 0; rx < 3 && !placed; ++rx)
      for (int y = 0; y < GridRoomHeight && !placed; ++y)
        for (int x = 0; x < GridRoomWidth && !placed; ++x) {
          const int n = (ry * GridRoomHeight + y) * LevelColumns + rx * GridRoomWidth + x;
          if (cells[n] != Cell::Start) continue;
          placed = true;
          if (x >= 1 && x + 1 < GridRoomWidth) {
            cells[n - 1] = Cell::Player1;
            cells[n + 1] = Cell::Player2;
          }
        }

  std::map<int, Image> tiles;
  std::string dir = objectsDir;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  for (CellCode code : cells) {
    if (tiles.count(code) || TileFileName(code).empty()) continue;
    std::string loadError;
    auto image = LoadBmp(dir + TileFileName(code), loadError);
    if (!image) {
      error = dir + TileFileName(code) + ": " + loadError;
      return false;
    }
    tiles.emplace(code, std::move(*image));
  }

  const int roomW = GridRoomWidth * PictureTile, roomH = GridRoomHeight * PictureTile;
  out = Image(3 * roomW + 4 * PictureGap, 3 * roomH + 4 * PictureGap, BorderColor);
  for (int n = 0; n < LevelCellBytes; ++n) {
    const int col = n % LevelColumns, row = n / LevelColumns;
    const int px = PictureGap + (col / GridRoomWidth) * (roomW + PictureGap) +
                   (col % GridRoomWidth) * PictureTile;
    const int py = PictureGap + (row / GridRoomHeight) * (roomH + PictureGap) +
                   (row % GridRoomHeight) * PictureTile;
    auto it = tiles.find(cells[n]);
    if (it == tiles.end()) {
      DrawMissingTile(out, px, py);
    } else {
      // As the room drawing does: unscaled, clipped to its cell.
      Image tile(PictureTile, PictureTile, Black);
      tile.Blit(it->second, 0, 0);
      out.Blit(tile, px, py);
    }
  }
  return true;
}
