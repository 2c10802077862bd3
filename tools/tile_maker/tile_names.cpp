#include "tile_maker/tile_names.h"

#include "world/tile_names.h"

const std::vector<TileName>& TileNames() {
  static const std::vector<TileName> names = [] {
    std::vector<TileName> list;
    for (const TilePicture& t : TilePictures) {
      const std::string file = t.file;
      list.push_back({t.code, file.substr(3, file.size() - 3 - 4)});
    }
    return list;
  }();
  return names;
}

std::string TileFileName(const TileName& tile) {
  return TilePictureFile(tile.code);
}
