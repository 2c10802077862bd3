#pragma once
// The program's icon: tile art laid on a clear square, in the sizes a desktop asks for,
// as a scalable drawing, and as the window's own picture.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tile_maker/pixel_map.h"

// Pixels 0xAARRGGBB, alpha not premultiplied, row by row from the top.
struct ArgbPicture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  ArgbPicture() = default;
  ArgbPicture(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, 0) {}
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The square sizes written for the desktop's icon theme.
inline constexpr int IconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
// The window's own icon.
inline constexpr int WindowIconSize = 64;

// Reads <assets>/tiles/icon.txt, one line "icon = <layers>" in the syntax of tiles.txt,
// and lays those layers on a clear 32 x 32 square.
std::optional<ArgbPicture> BuildIcon(const std::string& assetsDir, std::vector<ParseError>& errors);

// The art at side x side: enlarged by the smallest whole factor that reaches the side
// (every art pixel becomes the same square), then, where that overshoots, averaged down
// by area, colours weighted by their alpha so clear pixels leave no dark fringe.
ArgbPicture ScaleIcon(const ArgbPicture& art, int side);

// One square per run of equal pixels in a row, drawn with crisp edges.
std::string IconSvg(const ArgbPicture& art);

// A C++ header that defines `<name>Side` and `<name>Argb[]` for the picture.
std::string IconHeader(const ArgbPicture& picture, const std::string& name);

// Writes <outDir>/hicolor/<n>x<n>/apps/<iconName>.png for every size,
// <outDir>/hicolor/scalable/apps/<iconName>.svg and the window's icon as
// <outDir>/window_icon.h (TrokIconSide, TrokIconArgb).
bool WriteIcons(const ArgbPicture& art, const std::string& outDir, const std::string& iconName, std::string& error);
