#pragma once
// A picture of a whole level for reviewing: the 3 x 3 rooms with the game's tiles,
// room borders as visible gaps.
#include <string>

#include "authoring/level_text.h"
#include "base/image.h"

constexpr int PictureTile = 32;
constexpr int PictureGap = 4;  // between rooms and around the level

// File name in Objects/ of the tile of a code, or "" for codes without a picture.
std::string TileFileName(int code);

// Renders the level as the game shows it after loading: the players' markers stand
// beside the Start. Tiles come from `objectsDir`; fails with a message when one of the
// tiles the level needs cannot be read.
bool RenderLevelPicture(const LevelBytes& bytes, const std::string& objectsDir, Image& out,
                        std::string& error);
