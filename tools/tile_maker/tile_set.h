#pragma once
// Builds every tile picture from an assets folder:
//   tiles/palette.txt   colours shared by all maps
//   tiles/tiles.txt     one recipe per tile
//   tiles/maps/*.txt    the pixel maps the recipes name
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/image.h"
#include "tile_maker/pixel_map.h"
#include "tile_maker/tile_recipe.h"

// Reads a whole file; false when it cannot be read.
bool ReadTextFile(const std::string& path, std::string& text);

// The maps the recipes name, from <tilesDir>/maps/<name>.txt over the palette in
// <tilesDir>/palette.txt. A missing map is reported at the line of recipeFile that asks for it.
std::map<std::string, PixelMap> LoadRecipeMaps(const std::string& tilesDir, const std::vector<TileRecipe>& recipes,
                                               const std::string& recipeFile, std::vector<ParseError>& errors);

// Code → picture for all 88 tiles, or nothing with the errors filled in.
std::optional<std::map<int, Image>> BuildTiles(const std::string& assetsDir, std::vector<ParseError>& errors);

// Writes each tile as "<gameDir>/Objects/NN-Name.bmp", making the folder if needed.
bool WriteTiles(const std::map<int, Image>& tiles, const std::string& gameDir, std::string& error);
