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

// Code → picture for all 88 tiles, or nothing with the errors filled in.
std::optional<std::map<int, Image>> BuildTiles(const std::string& assetsDir, std::vector<ParseError>& errors);

// Writes each tile as "<gameDir>/Objects/NN-Name.bmp", making the folder if needed.
bool WriteTiles(const std::map<int, Image>& tiles, const std::string& gameDir, std::string& error);
