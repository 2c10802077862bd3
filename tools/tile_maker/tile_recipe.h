#pragma once
// The recipe list: which pixel maps, turned, mirrored, moved or recoloured, are laid
// on top of each other to make each tile picture.
#include <functional>
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

// The layers of a recipe line, after its "=": "<map> <options> + <map> <options> ...";
// false with the reason when one is malformed.
bool ParseLayers(const std::string& text, std::vector<TileLayer>& layers, std::string& why);

// Checks the recipes against the game's list of tile files: every file exactly once,
// with its exact name.
void CheckRecipesCoverAllTiles(const std::vector<TileRecipe>& recipes, const std::string& fileName,
                               std::vector<ParseError>& errors);

// Applies a layer's transforms and colours to its map.
PixelMap PrepareLayer(const PixelMap& map, const TileLayer& layer);

// Hands every visible pixel of the layers that falls inside side x side to `plot`,
// bottom layer first.
void LayLayers(const std::vector<TileLayer>& layers, const std::map<std::string, PixelMap>& maps, int side,
               const std::function<void(int x, int y, const PaletteColor& color)>& plot);

// Lays the layers onto a black 32 x 32 picture.
Image ComposeTile(const TileRecipe& recipe, const std::map<std::string, PixelMap>& maps);
