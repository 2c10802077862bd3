#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "tile_maker/pixel_map.h"
#include "tile_maker/preview.h"
#include "tile_maker/tile_names.h"
#include "tile_maker/tile_recipe.h"
#include "tile_maker/tile_set.h"
#include "base/bmp_file.h"

namespace {

namespace fs = std::filesystem;

const Palette Base = {{'.', {0, 0, 0, 0}}, {'k', {0, 0, 0, 255}}};

std::string Joined(const std::vector<ParseError>& errors) {
  std::string all;
  for (const auto& e : errors) all += e.text + "\n";
  return all;
}

TEST(PixelMapText, ReadsPaletteAlphaAndRows) {
  std::vector<ParseError> errors;
  auto map = ParsePixelMap("# a comment\npalette\n  r ff0000\n  s 000000 128\n  k 00ff00\npixels\nrk.\n.sr\n\n",
                           "m.txt", Base, errors);
  ASSERT_TRUE(map) << Joined(errors);
  EXPECT_EQ(map->width, 3);
  EXPECT_EQ(map->height, 2);
  EXPECT_EQ(map->At(1, 1), 's');
  EXPECT_EQ(map->palette.at('s').alpha, 128);
  EXPECT_EQ(map->palette.at('k'), (PaletteColor{0, 255, 0, 255}));  // own entry beats the base
  EXPECT_EQ(map->palette.at('.').alpha, 0);
}

TEST(PixelMapText, ErrorsNameFileAndLine) {
  struct Case {
    const char* text;
    const char* where;
    const char* what;
  } cases[] = {
      {"pixels\nkk\nkz\n", "m.txt:3:", "'z'"},
      {"pixels\nkkk\nkk\n", "m.txt:3:", "wide"},
      {"palette\n r ff00\npixels\nr\n", "m.txt:2:", "colour"},
      {"palette\n r ff0000 300\npixels\nr\n", "m.txt:2:", "colour"},
      {"colours\npixels\nk\n", "m.txt:1:", "palette"},
      {"palette\n r ff0000\n", "m.txt:2:", "no pixel rows"},
      {"pixels\nkk\n\nkk\n", "m.txt:4:", "after the blank line"},
      {"pixels\nk k\n", "m.txt:2:", "blanks"},
  };
  for (const Case& c : cases) {
    std::vector<ParseError> errors;
    EXPECT_FALSE(ParsePixelMap(c.text, "m.txt", Base, errors)) << c.text;
    const std::string all = Joined(errors);
    EXPECT_NE(all.find(c.where), std::string::npos) << all;
    EXPECT_NE(all.find(c.what), std::string::npos) << all;
  }
  std::vector<ParseError> errors;
  const std::string wide = "pixels\n" + std::string(65, 'k') + "\n";
  EXPECT_FALSE(ParsePixelMap(wide, "w.txt", Base, errors));
  std::string tall = "pixels\n";
  for (int i = 0; i < 65; ++i) tall += "k\n";
  EXPECT_FALSE(ParsePixelMap(tall, "t.txt", Base, errors));
}

TEST(PixelMapText, TurnsAndMirrors) {
  std::vector<ParseError> errors;
  const Palette abc = {{'a', {}}, {'b', {}}, {'c', {}}, {'d', {}}, {'e', {}}, {'f', {}}};
  auto map = ParsePixelMap("pixels\nabc\ndef\n", "m", abc, errors);
  ASSERT_TRUE(map);
  const PixelMap turned = RotateClockwise(*map);
  ASSERT_EQ(turned.width, 2);
  ASSERT_EQ(turned.height, 3);
  EXPECT_EQ(std::string(turned.cells.begin(), turned.cells.end()), "daebfc");
  EXPECT_EQ(RotateClockwise(RotateClockwise(RotateClockwise(turned))).cells, map->cells);
  const PixelMap fx = FlipHorizontal(*map), fy = FlipVertical(*map);
  EXPECT_EQ(std::string(fx.cells.begin(), fx.cells.end()), "cbafed");
  EXPECT_EQ(std::string(fy.cells.begin(), fy.cells.end()), "defabc");
}

TEST(TileRecipes, ParsesLayersWithOptions) {
  std::vector<ParseError> errors;
  const auto recipes = ParseRecipes("# comment\n\n27 P1Bullet4 = floor + shot rot90 flipx at 3 -2 A=102030 + x\n",
                                    "tiles.txt", errors);
  ASSERT_TRUE(errors.empty()) << Joined(errors);
  ASSERT_EQ(recipes.size(), 1u);
  const TileRecipe& r = recipes[0];
  EXPECT_EQ(r.code, 27);
  EXPECT_EQ(r.name, "P1Bullet4");
  EXPECT_EQ(r.line, 3);
  ASSERT_EQ(r.layers.size(), 3u);
  EXPECT_EQ(r.layers[1].mapName, "shot");
  EXPECT_EQ(r.layers[1].transforms, (std::vector<std::string>{"rot90", "flipx"}));
  EXPECT_EQ(r.layers[1].x, 3);
  EXPECT_EQ(r.layers[1].y, -2);
  EXPECT_EQ(r.layers[1].recolor.at('A'), (PaletteColor{0x10, 0x20, 0x30, 255}));
}

TEST(TileRecipes, MalformedLinesAreReportedWithTheirLine) {
  const char* bad[] = {"00 Floor floor",   "x Floor = floor",     "00 Floor = floor spin",
                       "00 Floor = ../up", "00 Floor = floor at 1", "00 Floor = floor Q=12345",
                       "00 Floor = floor +", "00 Floor ="};
  for (const char* line : bad) {
    std::vector<ParseError> errors;
    ParseRecipes(std::string("# first\n") + line + "\n", "tiles.txt", errors);
    ASSERT_EQ(errors.size(), 1u) << line;
    EXPECT_EQ(errors[0].text.rfind("tiles.txt:2: ", 0), 0u) << errors[0].text;
  }
}

TEST(TileRecipes, MustCoverEveryTileFileExactlyOnce) {
  std::string text;
  for (const TileName& t : TileNames()) text += std::to_string(t.code) + " " + t.name + " = floor\n";
  std::vector<ParseError> errors;
  CheckRecipesCoverAllTiles(ParseRecipes(text, "t", errors), "t", errors);
  EXPECT_TRUE(errors.empty()) << Joined(errors);

  std::string broken = text;
  broken.replace(broken.find("1 BrickSolid"), 12, "1 BrickSolidd");  // misspelt name
  broken += "70 Nothing = floor\n2 Ant = floor\n";                   // no picture; twice
  broken.erase(broken.find("98 LaserSet4-5 = floor\n"), 23);        // missing
  errors.clear();
  CheckRecipesCoverAllTiles(ParseRecipes(broken, "t", errors), "t", errors);
  const std::string all = Joined(errors);
  EXPECT_NE(all.find("\"BrickSolid\", not \"BrickSolidd\""), std::string::npos) << all;
  EXPECT_NE(all.find("code 70 has no tile picture"), std::string::npos) << all;
  EXPECT_NE(all.find("code 2 appears twice"), std::string::npos) << all;
  EXPECT_NE(all.find("98-LaserSet4-5.bmp"), std::string::npos) << all;
  EXPECT_EQ(TileNames().size(), 88u);
  EXPECT_EQ(TileFileName(TileNames()[43]), "43-DeathField(forEditor).bmp");
  EXPECT_EQ(TileFileName(TileNames()[69]), "80-BrickSolid.bmp");
}

TEST(TileRecipes, ComposeLayersBlendsMovesAndRecolours) {
  std::vector<ParseError> errors;
  const Palette base = {{'.', {0, 0, 0, 0}}};
  std::map<std::string, PixelMap> maps;
  std::string full = "palette\n g 204060\npixels\n";
  for (int i = 0; i < 32; ++i) full += std::string(32, 'g') + "\n";
  maps["ground"] = *ParsePixelMap(full, "ground", base, errors);
  maps["dot"] = *ParsePixelMap("palette\n r ff0000\n h ffffff 128\npixels\nrh\n..\n", "dot", base, errors);
  ASSERT_TRUE(errors.empty()) << Joined(errors);

  TileRecipe recipe;
  recipe.layers = {{"ground", {}, 0, 0, {}}, {"dot", {}, 31, 5, {}}, {"dot", {"rot90"}, 0, 0, {{'r', {0, 0, 255, 255}}}}};
  const Image tile = ComposeTile(recipe, maps);
  ASSERT_EQ(tile.Width(), 32);
  EXPECT_EQ(tile.PixelColor(31, 5), (Color{255, 0, 0}));      // clipped at the right edge
  EXPECT_EQ(tile.PixelColor(30, 5), (Color{0x20, 0x40, 0x60}));  // untouched
  EXPECT_EQ(tile.PixelColor(1, 0), (Color{0, 0, 255}));       // turned: "r" lands top right
  EXPECT_EQ(tile.PixelColor(1, 1), (Color{144, 160, 176}));    // half-white over the ground
  // A recoloured glow keeps its transparency.
  TileRecipe glow;
  glow.layers = {{"ground", {}, 0, 0, {}}, {"dot", {}, 0, 0, {{'h', {0, 0, 0, 255}}}}};
  EXPECT_EQ(ComposeTile(glow, maps).PixelColor(1, 0), (Color{16, 32, 48}));
}

// The game's own art, built the way the build does it.
class ProjectTiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::vector<ParseError> errors;
    auto built = BuildTiles(std::string(TROK_SOURCE_DIR) + "/assets", errors);
    ASSERT_TRUE(built) << Joined(errors);
    tiles_ = new std::map<int, Image>(std::move(*built));
  }
  static void TearDownTestSuite() {
    delete tiles_;
    tiles_ = nullptr;
  }
  // Share of the picture's pixels that differ from the floor picture.
  static double DiffersFromFloor(int code) {
    const Image& a = tiles_->at(code);
    const Image& floor = tiles_->at(0);
    int n = 0;
    for (size_t i = 0; i < a.Pixels().size(); ++i) n += a.Pixels()[i] != floor.Pixels()[i];
    return n / 1024.0;
  }
  static std::map<int, Image>* tiles_;
};
std::map<int, Image>* ProjectTiles::tiles_ = nullptr;

TEST_F(ProjectTiles, EveryTileIsBuiltAtThirtyTwoSquareAndNoTwoAreAlike) {
  ASSERT_TRUE(tiles_);
  ASSERT_EQ(tiles_->size(), 88u);
  std::set<std::vector<uint32_t>> seen;
  for (const TileName& t : TileNames()) {
    ASSERT_TRUE(tiles_->count(t.code)) << t.code;
    const Image& img = tiles_->at(t.code);
    EXPECT_EQ(img.Width(), 32);
    EXPECT_EQ(img.Height(), 32);
    EXPECT_TRUE(seen.insert(img.Pixels()).second) << TileFileName(t) << " looks like another tile";
  }
}

TEST_F(ProjectTiles, ObjectsStandOutFromTheFloor) {
  if (!tiles_) GTEST_SKIP();
  for (const TileName& t : TileNames()) {
    if (t.code == 0) continue;
    // Even the slimmest things (shots, beams) cover a good part of their cell.
    EXPECT_GT(DiffersFromFloor(t.code), 0.06) << TileFileName(t);
  }
  // The floor itself is dark and calm: no pixel brighter than a dim grey.
  for (uint32_t p : tiles_->at(0).Pixels()) EXPECT_LT(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF), 200u);
}

TEST_F(ProjectTiles, PlayersAndTheirShotsLookDifferent) {
  if (!tiles_) GTEST_SKIP();
  auto differing = [&](int a, int b) {
    int n = 0;
    for (size_t i = 0; i < 1024; ++i) n += tiles_->at(a).Pixels()[i] != tiles_->at(b).Pixels()[i];
    return n;
  };
  EXPECT_GT(differing(25, 26), 150);
  // Player 1 codes by direction 1..8, then player 2's.
  const int p1[8] = {29, 28, 30, 27, 81, 82, 83, 84};
  for (int d = 0; d < 8; ++d) EXPECT_GT(differing(p1[d], 85 + d), 20) << "direction " << d + 1;
  // Opposite directions are different pictures, for shots and darts alike.
  EXPECT_GT(differing(29, 81), 20);
  EXPECT_GT(differing(62, 66), 20);
  EXPECT_GT(differing(60, 64), 20);
}

// Pixels of tile a that no recolouring of a (turning it grey included) makes match b: for
// each colour of a, the pixels that do not take that colour's most frequent partner in b.
int PixelsNoRecolouringExplains(const Image& a, const Image& b) {
  std::map<uint32_t, std::map<uint32_t, int>> partners;
  for (size_t i = 0; i < a.Pixels().size(); ++i) ++partners[a.Pixels()[i]][b.Pixels()[i]];
  int unexplained = 0;
  for (const auto& [colour, counts] : partners) {
    int total = 0, best = 0;
    for (const auto& [partner, n] : counts) {
      total += n;
      best = std::max(best, n);
    }
    unexplained += total - best;
  }
  return unexplained;
}

TEST_F(ProjectTiles, LaserSetsDifferInShapeNotOnlyInColour) {
  if (!tiles_) GTEST_SKIP();
  // Per set 1..4: producer firing right, producer firing down, beam right, beam down.
  const int sets[4][4] = {{56, 57, 41, 40}, {54, 55, 93, 94}, {52, 53, 95, 96}, {58, 59, 97, 98}};
  for (int kind = 0; kind < 4; ++kind) {
    for (int s = 0; s < 4; ++s) {
      for (int t = s + 1; t < 4; ++t) {
        const Image& a = tiles_->at(sets[s][kind]);
        const Image& b = tiles_->at(sets[t][kind]);
        // A player who cannot tell the colours apart sees a clearly different mark.
        const int unexplained = std::min(PixelsNoRecolouringExplains(a, b), PixelsNoRecolouringExplains(b, a));
        EXPECT_GT(unexplained, 40) << "codes " << sets[s][kind] << " and " << sets[t][kind];
      }
    }
  }
}

TEST_F(ProjectTiles, WrittenFilesCarryTheExactNamesAndLoadBack) {
  if (!tiles_) GTEST_SKIP();
  const fs::path dir = fs::temp_directory_path() / ("trok_tiles_" + std::to_string(::getpid()));
  std::string error;
  ASSERT_TRUE(WriteTiles(*tiles_, dir.string(), error)) << error;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(dir / "Objects")) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 88);
  for (const TileName& t : TileNames()) {
    auto loaded = LoadBmp((dir / "Objects" / TileFileName(t)).string(), error);
    ASSERT_TRUE(loaded) << error;
    EXPECT_EQ(loaded->Pixels(), tiles_->at(t.code).Pixels()) << TileFileName(t);
  }
  fs::remove_all(dir);
}

TEST_F(ProjectTiles, PreviewsLayOutSheetAndRoom) {
  if (!tiles_) GTEST_SKIP();
  const Image sheet = MakeContactSheet(*tiles_, 2);
  EXPECT_GE(sheet.Width(), 11 * 64);
  EXPECT_GE(sheet.Height(), 8 * 64);
  std::string room;
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 20; ++x) room += (x == 3 && y == 2) ? "25 " : (x == 4 && y == 2) ? "70 " : "1 ";
    room += "\n";
  }
  std::string error;
  auto picture = MakeRoomPicture(*tiles_, room, "room.txt", error);
  ASSERT_TRUE(picture) << error;
  EXPECT_EQ(picture->Width(), 640);
  EXPECT_EQ(picture->Pixel(3 * 32 + 16, 2 * 32 + 10), tiles_->at(25).Pixel(16, 10));
  EXPECT_EQ(picture->Pixel(4 * 32 + 16, 2 * 32 + 10), 0u);  // no picture for 70
  EXPECT_FALSE(MakeRoomPicture(*tiles_, "1 2 3\n", "room.txt", error));
  EXPECT_NE(error.find("room.txt:1"), std::string::npos) << error;
}

TEST(TileSetFiles, BrokenSourcesAreNamedByFileAndLine) {
  const fs::path dir = fs::temp_directory_path() / ("trok_art_" + std::to_string(::getpid()));
  fs::create_directories(dir / "tiles" / "maps");
  std::string recipes;
  for (const TileName& t : TileNames()) recipes += std::to_string(t.code) + " " + t.name + " = plain\n";
  recipes += "\n";
  std::ofstream(dir / "tiles" / "tiles.txt") << recipes << "99 Extra = plain\n";
  std::ofstream(dir / "tiles" / "maps" / "plain.txt") << "palette\n a 102030\npixels\naa\naq\n";
  std::vector<ParseError> errors;
  EXPECT_FALSE(BuildTiles(dir.string(), errors));
  const std::string all = Joined(errors);
  EXPECT_NE(all.find("tiles.txt:90: code 99"), std::string::npos) << all;
  EXPECT_NE(all.find("plain.txt:5: character 'q'"), std::string::npos) << all;

  // Fixed up, the same folder builds, and a missing map is named with the recipe line.
  std::ofstream(dir / "tiles" / "tiles.txt") << recipes;
  std::ofstream(dir / "tiles" / "maps" / "plain.txt") << "palette\n a 102030\npixels\naa\naa\n";
  errors.clear();
  auto built = BuildTiles(dir.string(), errors);
  ASSERT_TRUE(built) << Joined(errors);
  EXPECT_EQ(built->at(98).PixelColor(1, 1), (Color{0x10, 0x20, 0x30}));
  EXPECT_EQ(built->at(98).PixelColor(5, 5), Black);
  std::ofstream(dir / "tiles" / "tiles.txt") << "0 Floor = gone\n";
  errors.clear();
  EXPECT_FALSE(BuildTiles(dir.string(), errors));
  EXPECT_NE(Joined(errors).find("tiles.txt:1: map \"gone\" not found"), std::string::npos) << Joined(errors);
  fs::remove_all(dir);
}

}  // namespace
