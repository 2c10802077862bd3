#pragma once
// The about page's picture: the menu logo over a small room of the game's own tiles.
#include <map>
#include <string>

#include "base/image.h"

inline constexpr int TitleSceneWidth = 489;
inline constexpr int TitleSceneHeight = 369;

// Reads the tile pictures the scene uses from <objectsDir>/; false with the reason
// when one is missing or broken.
bool LoadSceneTiles(const std::string& objectsDir, std::map<int, Image>& tiles,
                    std::string& error);
// Draws the scene; a code without a picture in `tiles` stays black.
Image MakeTitleScene(const std::map<int, Image>& tiles);
