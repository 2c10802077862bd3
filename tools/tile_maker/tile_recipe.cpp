#include "tile_maker/tile_recipe.h"

#include <set>
#include <sstream>

#include "tile_maker/tile_names.h"

namespace {

std::string Where(const std::string& fileName, int line) { return fileName + ":" + std::to_string(line) + ": "; }

bool ParseInt(const std::string& s, int& out) {
  if (s.empty() || s.size() > 4) return false;
  size_t at = 0;
  if (s[0] == '-') at = 1;
  if (at == s.size() || s.find_first_not_of("0123456789", at) != std::string::npos) return false;
  out = std::stoi(s);
  return true;
}

bool ValidMapName(const std::string& s) {
  return !s.empty() && s.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") == std::string::npos;
}

// One layer's words; false with a message when malformed.
bool ParseLayer(const std::vector<std::string>& words, TileLayer& layer, std::string& why) {
  if (words.empty()) {
    why = "empty layer";
    return false;
  }
  if (!ValidMapName(words[0])) {
    why = "bad map name \"" + words[0] + "\" (lower-case letters, digits and _)";
    return false;
  }
  layer.mapName = words[0];
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w == "rot90" || w == "rot180" || w == "rot270" || w == "flipx" || w == "flipy") {
      layer.transforms.push_back(w);
    } else if (w == "at") {
      if (i + 2 >= words.size() || !ParseInt(words[i + 1], layer.x) || !ParseInt(words[i + 2], layer.y)) {
        why = "\"at\" needs two whole numbers";
        return false;
      }
      i += 2;
    } else if (w.size() >= 3 && w[1] == '=') {
      std::vector<std::string> colorWords = {w.substr(2)};
      const auto color = ParseColorWords(colorWords);
      if (!color) {
        why = "bad colour in \"" + w + "\"";
        return false;
      }
      layer.recolor[w[0]] = *color;
    } else {
      why = "unknown layer option \"" + w + "\"";
      return false;
    }
  }
  return true;
}

}  // namespace

bool ParseLayers(const std::string& text, std::vector<TileLayer>& layers, std::string& why) {
  layers.clear();
  // Layers split on '+'; colours contain no '+', so this is unambiguous.
  for (size_t start = 0; start <= text.size();) {
    size_t plus = text.find('+', start);
    if (plus == std::string::npos) plus = text.size();
    TileLayer layer;
    if (!ParseLayer(SplitWords(text.substr(start, plus - start)), layer, why)) return false;
    layers.push_back(layer);
    start = plus + 1;
  }
  if (layers.empty()) {
    why = "no layers";
    return false;
  }
  return true;
}

std::vector<TileRecipe> ParseRecipes(const std::string& text, const std::string& fileName,
                                     std::vector<ParseError>& errors) {
  std::vector<TileRecipe> recipes;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    const auto eq = line.find('=');
    auto fail = [&](const std::string& why) { errors.push_back({Where(fileName, lineNo) + why}); };
    if (eq == std::string::npos) {
      fail("expected \"<code> <name> = <layers>\"");
      continue;
    }
    const std::vector<std::string> head = SplitWords(line.substr(0, eq));
    TileRecipe recipe;
    recipe.line = lineNo;
    if (head.size() != 2 || !ParseInt(head[0], recipe.code)) {
      fail("expected a code and a name before \"=\"");
      continue;
    }
    recipe.name = head[1];
    std::string why;
    if (!ParseLayers(line.substr(eq + 1), recipe.layers, why)) {
      fail(why);
      continue;
    }
    recipes.push_back(recipe);
  }
  return recipes;
}

void CheckRecipesCoverAllTiles(const std::vector<TileRecipe>& recipes, const std::string& fileName,
                               std::vector<ParseError>& errors) {
  std::map<int, const TileName*> wanted;
  for (const TileName& t : TileNames()) wanted[t.code] = &t;
  std::set<int> seen;
  for (const TileRecipe& r : recipes) {
    const auto it = wanted.find(r.code);
    if (it == wanted.end()) {
      errors.push_back({Where(fileName, r.line) + "code " + std::to_string(r.code) + " has no tile picture"});
      continue;
    }
    if (r.name != it->second->name) {
      errors.push_back({Where(fileName, r.line) + "code " + std::to_string(r.code) + " is named \"" +
                        it->second->name + "\", not \"" + r.name + "\""});
    }
    if (!seen.insert(r.code).second)
      errors.push_back({Where(fileName, r.line) + "code " + std::to_string(r.code) + " appears twice"});
  }
  for (const TileName& t : TileNames()) {
    if (!seen.count(t.code))
      errors.push_back({fileName + ": no recipe for " + TileFileName(t)});
  }
}

PixelMap PrepareLayer(const PixelMap& map, const TileLayer& layer) {
  PixelMap out = map;
  for (const std::string& t : layer.transforms) {
    const int turns = t == "rot90" ? 1 : t == "rot180" ? 2 : t == "rot270" ? 3 : 0;
    for (int i = 0; i < turns; ++i) out = RotateClockwise(out);
    if (t == "flipx") out = FlipHorizontal(out);
    if (t == "flipy") out = FlipVertical(out);
  }
  // A new colour keeps the entry's transparency, so glows stay glows.
  for (const auto& [key, color] : layer.recolor) {
    PaletteColor& entry = out.palette[key];
    const uint8_t alpha = entry.alpha;
    entry = color;
    if (color.alpha != 0) entry.alpha = alpha;
  }
  return out;
}

void LayLayers(const std::vector<TileLayer>& layers, const std::map<std::string, PixelMap>& maps, int side,
               const std::function<void(int x, int y, const PaletteColor& color)>& plot) {
  for (const TileLayer& layer : layers) {
    const auto found = maps.find(layer.mapName);
    if (found == maps.end()) continue;
    const PixelMap map = PrepareLayer(found->second, layer);
    for (int y = 0; y < map.height; ++y) {
      for (int x = 0; x < map.width; ++x) {
        const int tx = layer.x + x, ty = layer.y + y;
        if (tx < 0 || ty < 0 || tx >= side || ty >= side) continue;
        const auto entry = map.palette.find(map.At(x, y));
        if (entry == map.palette.end() || entry->second.alpha == 0) continue;
        plot(tx, ty, entry->second);
      }
    }
  }
}

Image ComposeTile(const TileRecipe& recipe, const std::map<std::string, PixelMap>& maps) {
  Image tile(TileSize, TileSize, Black);
  LayLayers(recipe.layers, maps, TileSize, [&tile](int tx, int ty, const PaletteColor& c) {
    Color out{c.r, c.g, c.b};
    if (c.alpha < 255) {
      const Color under = tile.PixelColor(tx, ty);
      auto mix = [&](uint8_t top, uint8_t bottom) {
        return static_cast<uint8_t>((top * c.alpha + bottom * (255 - c.alpha) + 127) / 255);
      };
      out = Color{mix(c.r, under.r), mix(c.g, under.g), mix(c.b, under.b)};
    }
    tile.SetPixel(tx, ty, out);
  });
  return tile;
}
