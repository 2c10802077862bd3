#pragma once
// The tile pictures the game loads, as the tile maker names them.
#include <string>
#include <vector>

struct TileName {
  int code;
  std::string name;  // the part of the file name after "NN-"
};

// All 88 entries in loading order (0..68, then 80..98).
const std::vector<TileName>& TileNames();
// "NN-Name.bmp".
std::string TileFileName(const TileName& tile);
