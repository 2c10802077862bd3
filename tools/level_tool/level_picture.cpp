#include "level_tool/level_picture.h"

#include <array>
#include <map>
#include <optional>

#include "world/cell_codes.h"
#include "world/world_grid.h"

namespace {

constexpr Color BorderColor{255, 0, 255};

const char* TileName(int code) {
  static const std::map<int, const char*> names = {
      {0, "Floor"}, {1, "BrickSolid"}, {2, "Ant"}, {3, "Devil"}, {4, "Cow"}, {5, "Chigger"},
      {6, "Frog"}, {7, "Horse"}, {8, "Pig"}, {9, "AntP"}, {10, "DevilP"}, {11, "CowP"},
      {12, "FrogP"}, {13, "RandomP"}, {14, "HorseP"}, {15, "Heart"}, {16, "Health"},
      {17, "Bomb"}, {18, "Money"}, {19, "Key"}, {20, "Door"}, {21, "BrickEnemyTrans"},
      {22, "BrickShootable"}, {23, "Start"}, {24, "Finish"}, {25, "Player1"},
      {26, "Player2"}, {27, "P1Bullet4"}, {28, "P1Bullet2"}, {29, "P1Bullet1"},
      {30, "P1Bullet3"}, {31, "FireP"}, {32, "Star"}, {33, "PigP1"}, {34, "PigP2"},
      {35, "PigP3"}, {36, "PigP4"}, {37, "PigP5"}, {38, "DeathField"},
      {39, "SlideFieldOmni"}, {40, "LaserSet1-5"}, {41, "LaserSet1-3"}, {42, "Shield"},
      {43, "DeathField(forEditor)"}, {44, "SlideRight(forEditor)"},
      {45, "SlideLeft(forEditor)"}, {46, "SlideUp(forEditor)"}, {47, "SlideDown(forEditor)"},
      {48, "SlideRight"}, {49, "SlideLeft"}, {50, "SlideUp"}, {51, "SlideDown"},
      {52, "LaserSet3P3"}, {53, "LaserSet3P5"}, {54, "LaserSet2P3"}, {55, "LaserSet2P5"},
      {56, "LaserSet1P3"}, {57, "LaserSet1P5"}, {58, "LaserSet4P3"}, {59, "LaserSet4P5"},
      {60, "Fire8"}, {61, "Fire2"}, {62, "Fire1"}, {63, "Fire7"}, {64, "Fire4"},
      {65, "Fire6"}, {66, "Fire5"}, {67, "Fire3"}, {68, "SlideFieldOmni(forEditor)"},
      {80, "BrickSolid"}, {81, "P1Bullet5"}, {82, "P1Bullet6"}, {83, "P1Bullet7"},
      {84, "P1Bullet8"}, {85, "P2Bullet1"}, {86, "P2Bullet2"}, {87, "P2Bullet3"},
      {88, "P2Bullet4"}, {89, "P2Bullet5"}, {90, "P2Bullet6"}, {91, "P2Bullet7"},
      {92, "P2Bullet8"}, {93, "LaserSet2-3"}, {94, "LaserSet2-5"}, {95, "LaserSet3-3"},
      {96, "LaserSet3-5"}, {97, "LaserSet4-3"}, {98, "LaserSet4-5"}};
  auto it = names.find(code);
  return it == names.end() ? nullptr : it->second;
}

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
  const char* name = TileName(code);
  if (!name || !HasTilePicture(code)) return "";
  const std::string digits = (code < 10 ? "0" : "") + std::to_string(code);
  return digits + "-" + name + ".bmp";
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
