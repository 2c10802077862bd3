#pragma once
// The recipe list: which pixel maps, turned, mirrored, moved or recoloured, are laid
// on top of each other to make each tile picture.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/image.h"
#include "tile_maker/pixel_map.h"

struct TileLayer {
  std::string mapName;
  std::vector<std::string> transforms;  // "rot90", "rot180", "rot270", "flipx", "flipy", in order
  int x = 0, y = 0;                      // where the map's top-left corner lands
  Palette recolor;                       // new colours for map entries; they keep the entry's alpha
};

struct TileRecipe {
  int code = 0;
  std::string name;
  std::vector<TileLayer> layers;  // bottom first
  int line = 0;
};

constexpr int TileSize = 32;

// Lines: "<code> <name> = <layer> + <layer> ...", each layer a map name followed by
// rot90 | rot180 | rot270 | flipx | flipy | at <x> <y> | <char>=<rrggbb or clear>.
std::vector<TileRecipe> ParseRecipes(const std::string& text, const std::string& fileName,
                                     std::vector<ParseError>& errors);

// Checks the recipes against the game's list of tile files: every file exactly once,
// with its exact name.
void CheckRecipesCoverAllTiles(const std::vector<TileRecipe>& recipes, const std::string& fileName,
                               std::vector<ParseError>& errors);

// Applies a layer's transforms and colours to its map.
PixelMap PrepareLayer(const PixelMap& map, const TileLayer& layer);

// Lays the layers onto a black 32 x 32 picture.
Image ComposeTile(const TileRecipe& recipe, const std::map<std::string, PixelMap>& maps);
