#include "title_picture/title_scene.h"

#include <array>
#include <set>

#include "screens/menu_art.h"
#include "world/tile_names.h"
#include "base/bmp_file.h"

namespace {

constexpr int Columns = 15, Rows = 8, Cell = 32;
constexpr int LogoHeight = 106;
constexpr int RoomLeft = (TitleSceneWidth - Columns * Cell) / 2;
constexpr int RoomTop = LogoHeight + 3;

// A room in play: player 1 fires at a chigger, player 2 guards the gold, creatures
// pour from their producers towards the door and the finish.
constexpr std::array<const char*, Rows> Room{
    "###############",
    "#a..2...#$.3.9#",
    "#.1>>.5.D..4..#",
    "#......=#.....#",
    "##=.*..=#..6..#",
    "#h..k..+#.F...#",
    "#.2..2...3...f#",
    "###############",
};

int CodeOf(char c) {
  switch (c) {
    case '#': return 1;
    case '1': return 25;
    case 'a': return 26;
    case '>': return 30;
    case '2': return 2;
    case '3': return 3;
    case '4': return 4;
    case '5': return 5;
    case '6': return 6;
    case '9': return 9;
    case '$': return 18;
    case 'D': return 20;
    case '=': return 22;
    case '*': return 32;
    case 'h': return 16;
    case 'k': return 19;
    case '+': return 15;
    case 'F': return 24;
    case 'f': return 31;
    default: return 0;
  }
}

}  // namespace

bool LoadSceneTiles(const std::string& objectsDir, std::map<int, Image>& tiles,
                    std::string& error) {
  std::set<int> codes;
  for (const char* row : Room)
    for (const char* c = row; *c; ++c) codes.insert(CodeOf(*c));
  for (int code : codes) {
    const char* file = TilePictureFile(code);
    if (!file) {
      error = "no tile picture for code " + std::to_string(code);
      return false;
    }
    auto picture = LoadBmp(objectsDir + "/" + file, error);
    if (!picture) return false;
    tiles[code] = std::move(*picture);
  }
  return true;
}

Image MakeTitleScene(const std::map<int, Image>& tiles) {
  Image scene(TitleSceneWidth, TitleSceneHeight, Black);
  scene.Blit(MakeTitlePicture(TitleSceneWidth, LogoHeight), 0, 0);
  for (int y = 0; y < Rows; ++y) {
    for (int x = 0; x < Columns; ++x) {
      auto tile = tiles.find(CodeOf(Room[y][x]));
      if (tile == tiles.end()) continue;
      scene.BlitStretched(tile->second, RoomLeft + x * Cell, RoomTop + y * Cell, Cell, Cell);
    }
  }
  return scene;
}
