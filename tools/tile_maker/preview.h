#pragma once
// Review pictures: all tiles on one sheet, or a whole room laid out from a text map.
#include <map>
#include <optional>
#include <string>

#include "base/image.h"

// Every tile enlarged by scale, with its code written above it.
Image MakeContactSheet(const std::map<int, Image>& tiles, int scale);

// A room file holds 12 lines of 20 cell codes separated by blanks; codes without a
// picture leave their square black. Error text names the line on failure.
std::optional<Image> MakeRoomPicture(const std::map<int, Image>& tiles, const std::string& roomText,
                                     const std::string& fileName, std::string& error);
