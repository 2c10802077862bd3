#include "tile_maker/tile_set.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tile_maker/tile_names.h"
#include "base/bmp_file.h"

namespace fs = std::filesystem;

bool ReadTextFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  text = s.str();
  return true;
}

std::map<std::string, PixelMap> LoadRecipeMaps(const std::string& tilesDir, const std::vector<TileRecipe>& recipes,
                                               const std::string& recipeFile, std::vector<ParseError>& errors) {
  std::string text;
  Palette base;
  const fs::path palettePath = fs::path(tilesDir) / "palette.txt";
  if (ReadTextFile(palettePath.string(), text)) base = ParsePalette(text, palettePath.string(), errors);

  std::map<std::string, PixelMap> maps;
  std::map<std::string, bool> tried;
  for (const TileRecipe& recipe : recipes) {
    for (const TileLayer& layer : recipe.layers) {
      if (tried[layer.mapName]) continue;
      tried[layer.mapName] = true;
      const fs::path mapPath = fs::path(tilesDir) / "maps" / (layer.mapName + ".txt");
      if (!ReadTextFile(mapPath.string(), text)) {
        errors.push_back({recipeFile + ":" + std::to_string(recipe.line) + ": map \"" + layer.mapName +
                          "\" not found (" + mapPath.string() + ")"});
        continue;
      }
      if (auto map = ParsePixelMap(text, mapPath.string(), base, errors)) maps[layer.mapName] = std::move(*map);
    }
  }
  return maps;
}

std::optional<std::map<int, Image>> BuildTiles(const std::string& assetsDir, std::vector<ParseError>& errors) {
  const fs::path tilesDir = fs::path(assetsDir) / "tiles";
  const size_t errorsBefore = errors.size();
  const fs::path recipePath = tilesDir / "tiles.txt";
  std::string text;
  if (!ReadTextFile(recipePath.string(), text)) {
    errors.push_back({recipePath.string() + ": cannot be read"});
    return std::nullopt;
  }
  const std::vector<TileRecipe> recipes = ParseRecipes(text, recipePath.string(), errors);
  CheckRecipesCoverAllTiles(recipes, recipePath.string(), errors);
  const auto maps = LoadRecipeMaps(tilesDir.string(), recipes, recipePath.string(), errors);
  if (errors.size() != errorsBefore) return std::nullopt;

  std::map<int, Image> tiles;
  for (const TileRecipe& recipe : recipes) tiles[recipe.code] = ComposeTile(recipe, maps);
  return tiles;
}

bool WriteTiles(const std::map<int, Image>& tiles, const std::string& gameDir, std::string& error) {
  const fs::path objects = fs::path(gameDir) / "Objects";
  std::error_code ec;
  fs::create_directories(objects, ec);
  if (ec) {
    error = "Cannot create \"" + objects.string() + "\": " + ec.message();
    return false;
  }
  for (const TileName& t : TileNames()) {
    const auto it = tiles.find(t.code);
    if (it == tiles.end()) {
      error = "No picture for " + TileFileName(t);
      return false;
    }
    if (!SaveBmp24(it->second, (objects / TileFileName(t)).string(), error)) return false;
  }
  return true;
}
