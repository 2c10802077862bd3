// Makes the game's tile pictures from the text art under assets/.
//   tile_maker <assets dir> <game dir>                 writes <game dir>/Objects/*.bmp
//   tile_maker --sheet <out.bmp> <assets dir> [scale]  all tiles on one sheet
//   tile_maker --room <out.bmp> <assets dir> <room.txt> [scale]
//   tile_maker --icons <assets dir> <out dir> <icon name>   the program's icons
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tile_maker/icon.h"
#include "tile_maker/preview.h"
#include "tile_maker/tile_set.h"
#include "base/bmp_file.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: tile_maker <assets dir> <game dir>\n"
               "       tile_maker --sheet <out.bmp> <assets dir> [scale]\n"
               "       tile_maker --room <out.bmp> <assets dir> <room.txt> [scale]\n"
               "       tile_maker --icons <assets dir> <out dir> <icon name>\n");
  return 2;
}

bool Build(const std::string& assetsDir, std::map<int, Image>& tiles) {
  std::vector<ParseError> errors;
  auto built = BuildTiles(assetsDir, errors);
  if (!built) {
    for (const ParseError& e : errors) std::fprintf(stderr, "tile_maker: %s\n", e.text.c_str());
    return false;
  }
  tiles = std::move(*built);
  return true;
}

bool Save(const Image& picture, const std::string& path, int scale) {
  Image out = picture;
  if (scale > 1) {
    out = Image(picture.Width() * scale, picture.Height() * scale);
    out.BlitStretched(picture, 0, 0, out.Width(), out.Height());
  }
  std::string error;
  if (!SaveBmp24(out, path, error)) {
    std::fprintf(stderr, "tile_maker: %s\n", error.c_str());
    return false;
  }
  return true;
}

int ScaleArg(int argc, char** argv, int index, int fallback) {
  if (argc <= index) return fallback;
  const int s = std::atoi(argv[index]);
  return s >= 1 && s <= 16 ? s : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string first = argv[1];
  std::map<int, Image> tiles;
  if (first == "--sheet") {
    if (argc < 4 || !Build(argv[3], tiles)) return argc < 4 ? Usage() : 1;
    return Save(MakeContactSheet(tiles, ScaleArg(argc, argv, 4, 3)), argv[2], 1) ? 0 : 1;
  }
  if (first == "--icons") {
    if (argc != 5) return Usage();
    std::vector<ParseError> errors;
    const auto art = BuildIcon(argv[2], errors);
    for (const ParseError& e : errors) std::fprintf(stderr, "tile_maker: %s\n", e.text.c_str());
    std::string error;
    if (art && WriteIcons(*art, argv[3], argv[4], error)) return 0;
    if (!error.empty()) std::fprintf(stderr, "tile_maker: %s\n", error.c_str());
    return 1;
  }
  if (first == "--room") {
    if (argc < 5) return Usage();
    if (!Build(argv[3], tiles)) return 1;
    std::ifstream in(argv[4], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "tile_maker: cannot read %s\n", argv[4]);
      return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string error;
    auto room = MakeRoomPicture(tiles, text.str(), argv[4], error);
    if (!room) {
      std::fprintf(stderr, "tile_maker: %s\n", error.c_str());
      return 1;
    }
    return Save(*room, argv[2], ScaleArg(argc, argv, 5, 1)) ? 0 : 1;
  }
  if (argc != 3 || first.rfind("--", 0) == 0) return Usage();
  if (!Build(argv[1], tiles)) return 1;
  std::string error;
  if (!WriteTiles(tiles, argv[2], error)) {
    std::fprintf(stderr, "tile_maker: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
