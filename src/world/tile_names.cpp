#include "world/tile_names.h"

#include "world/cell_kinds.h"

namespace {
constexpr int CountTilePictures() {
  int n = 0;
  for (const CellRow& row : CellTable) n += row.tile != nullptr;
  return n;
}
static_assert(CountTilePictures() == TilePictureCount, "a picture for every row that names one");

constexpr std::array<TilePicture, TilePictureCount> PicturesOfTable() {
  std::array<TilePicture, TilePictureCount> pictures{};
  int n = 0;
  for (const CellRow& row : CellTable)
    if (row.tile) pictures[n++] = {row.code, row.tile};
  return pictures;
}
}  // namespace

const std::array<TilePicture, TilePictureCount> TilePictures = PicturesOfTable();

const char* TilePictureFile(int code) { return IsKnownCode(code) ? CellTable[code].tile : nullptr; }
