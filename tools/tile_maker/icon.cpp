#include "tile_maker/icon.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/png_file.h"
#include "tile_maker/tile_recipe.h"
#include "tile_maker/tile_set.h"

namespace {

namespace fs = std::filesystem;

uint8_t Channel(uint32_t p, int shift) { return static_cast<uint8_t>(p >> shift); }

uint32_t Argb(double a, double r, double g, double b) {
  auto byte = [](double v) { return static_cast<uint32_t>(std::clamp(std::lround(v), 0L, 255L)); };
  return byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
}

// `top` laid over what is already there (straight alpha).
void LayOver(uint32_t& dst, const PaletteColor& top) {
  const double ta = top.alpha / 255.0, da = Channel(dst, 24) / 255.0;
  const double outA = ta + da * (1 - ta);
  auto mix = [&](uint8_t t, int shift) { return (t * ta + Channel(dst, shift) * da * (1 - ta)) / outA; };
  dst = Argb(outA * 255, mix(top.r, 16), mix(top.g, 8), mix(top.b, 0));
}

ArgbPicture Enlarge(const ArgbPicture& art, int factor) {
  ArgbPicture out(art.width * factor, art.height * factor);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) out.At(x, y) = art.At(x / factor, y / factor);
  return out;
}

// Area average down to w x h, weighting colours by their alpha.
ArgbPicture Reduce(const ArgbPicture& src, int w, int h) {
  ArgbPicture out(w, h);
  const double sx = static_cast<double>(src.width) / w, sy = static_cast<double>(src.height) / h;
  for (int oy = 0; oy < h; ++oy) {
    for (int ox = 0; ox < w; ++ox) {
      const double x0 = ox * sx, x1 = x0 + sx, y0 = oy * sy, y1 = y0 + sy;
      double area = 0, alpha = 0, r = 0, g = 0, b = 0;
      for (int y = static_cast<int>(y0); y < std::min<double>(y1, src.height); ++y) {
        const double wy = std::min<double>(y1, y + 1) - std::max<double>(y0, y);
        for (int x = static_cast<int>(x0); x < std::min<double>(x1, src.width); ++x) {
          const double weight = wy * (std::min<double>(x1, x + 1) - std::max<double>(x0, x));
          const uint32_t p = src.At(x, y);
          const double a = Channel(p, 24) * weight;
          area += weight;
          alpha += a;
          r += Channel(p, 16) * a;
          g += Channel(p, 8) * a;
          b += Channel(p, 0) * a;
        }
      }
      if (alpha > 0) out.At(ox, oy) = Argb(alpha / area, r / alpha, g / alpha, b / alpha);
    }
  }
  return out;
}

}  // namespace

std::optional<ArgbPicture> BuildIcon(const std::string& assetsDir, std::vector<ParseError>& errors) {
  const fs::path tilesDir = fs::path(assetsDir) / "tiles";
  const std::string recipePath = (tilesDir / "icon.txt").string();
  const size_t errorsBefore = errors.size();
  std::string text;
  if (!ReadTextFile(recipePath, text)) {
    errors.push_back({recipePath + ": cannot be read"});
    return std::nullopt;
  }
  TileRecipe recipe;
  std::istringstream in(text);
  std::string line;
  for (int lineNo = 1; std::getline(in, line); ++lineNo) {
    const std::vector<std::string> words = SplitWords(line);
    if (words.empty() || words[0][0] == '#') continue;
    const auto eq = line.find('=');
    std::string why = "expected \"icon = <layers>\"";
    if (recipe.line != 0) why = "only one icon line is allowed";
    if (recipe.line == 0 && eq != std::string::npos && SplitWords(line.substr(0, eq)) == std::vector<std::string>{"icon"} &&
        ParseLayers(line.substr(eq + 1), recipe.layers, why)) {
      recipe.line = lineNo;
      continue;
    }
    errors.push_back({recipePath + ":" + std::to_string(lineNo) + ": " + why});
  }
  if (recipe.line == 0 && errors.size() == errorsBefore) errors.push_back({recipePath + ": no icon line"});
  const auto maps = LoadRecipeMaps(tilesDir.string(), {recipe}, recipePath, errors);
  if (errors.size() != errorsBefore) return std::nullopt;

  ArgbPicture art(TileSize, TileSize);
  LayLayers(recipe.layers, maps, TileSize, [&art](int x, int y, const PaletteColor& c) { LayOver(art.At(x, y), c); });
  return art;
}

ArgbPicture ScaleIcon(const ArgbPicture& art, int side) {
  if (art.width <= 0 || side <= 0) return ArgbPicture(std::max(side, 0), std::max(side, 0));
  const int factor = (side + art.width - 1) / art.width;
  const ArgbPicture big = factor > 1 ? Enlarge(art, factor) : art;
  if (big.width == side && big.height == side) return big;
  return Reduce(big, side, side);
}

std::string IconSvg(const ArgbPicture& art) {
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  char buf[160];
  std::snprintf(buf, sizeof buf,
                "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\" "
                "shape-rendering=\"crispEdges\">\n",
                art.width, art.height, art.width, art.height);
  svg += buf;
  for (int y = 0; y < art.height; ++y) {
    for (int x = 0; x < art.width;) {
      const uint32_t p = art.At(x, y);
      int run = 1;
      while (x + run < art.width && art.At(x + run, y) == p) ++run;
      if (Channel(p, 24) != 0) {
        std::snprintf(buf, sizeof buf, "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"1\" fill=\"#%06x\"", x, y, run,
                      p & 0xffffffu);
        svg += buf;
        if (Channel(p, 24) != 255) {
          std::snprintf(buf, sizeof buf, " fill-opacity=\"%.3f\"", Channel(p, 24) / 255.0);
          svg += buf;
        }
        svg += "/>\n";
      }
      x += run;
    }
  }
  return svg + "</svg>\n";
}

std::string IconHeader(const ArgbPicture& picture, const std::string& name) {
  std::string text = "// Made by tile_maker from the tile art.\n#pragma once\n#include <cstdint>\n\n";
  text += "inline constexpr int " + name + "Side = " + std::to_string(picture.width) + ";\n";
  text += "inline constexpr uint32_t " + name + "Argb[] = {";
  char buf[32];
  for (size_t i = 0; i < picture.pixels.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%s0x%08x,", i % 8 == 0 ? "\n    " : " ", picture.pixels[i]);
    text += buf;
  }
  return text + "\n};\n";
}

bool WriteIcons(const ArgbPicture& art, const std::string& outDir, const std::string& iconName, std::string& error) {
  const fs::path theme = fs::path(outDir) / "hicolor";
  auto writeText = [&error](const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) error = "Cannot write \"" + path.string() + "\"";
    return static_cast<bool>(out);
  };
  auto makeDir = [&error](const fs::path& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) error = "Cannot create \"" + dir.string() + "\": " + ec.message();
    return !ec;
  };
  for (int side : IconSizes) {
    const std::string size = std::to_string(side);
    const fs::path dir = theme / (size + "x" + size) / "apps";
    const ArgbPicture picture = ScaleIcon(art, side);
    if (!makeDir(dir) || !SavePng(picture.pixels, side, side, (dir / (iconName + ".png")).string(), error))
      return false;
  }
  const fs::path scalable = theme / "scalable" / "apps";
  return makeDir(scalable) && writeText(scalable / (iconName + ".svg"), IconSvg(art)) &&
         writeText(fs::path(outDir) / "window_icon.h", IconHeader(ScaleIcon(art, WindowIconSize), "TrokIcon"));
}
