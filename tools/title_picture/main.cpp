// Makes the about page's picture from the game's own tiles and logo.
//   title_picture <game dir>     reads <game dir>/Objects, writes <game dir>/Pictures/Title.jpg
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "title_picture/jpeg_writer.h"
#include "title_picture/title_scene.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: title_picture <game dir>\n");
    return 2;
  }
  const std::filesystem::path game(argv[1]);
  std::map<int, Image> tiles;
  std::string error;
  if (!LoadSceneTiles((game / "Objects").string(), tiles, error)) {
    std::fprintf(stderr, "title_picture: %s\n", error.c_str());
    return 1;
  }
  std::error_code ec;
  std::filesystem::create_directories(game / "Pictures", ec);
  if (!SaveJpeg(MakeTitleScene(tiles), (game / "Pictures" / "Title.jpg").string(), 90, error)) {
    std::fprintf(stderr, "title_picture: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
