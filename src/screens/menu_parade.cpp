// The strip under the title menu's logo: the game's creatures marching towards a
// player who fires back.
#include <array>
#include <map>
#include <string>
#include <vector>

#include "screens/menu_art.h"
#include "screens/menu_colors.h"

namespace {

struct Sprite {
  std::array<const char*, 12> rows;  // 12 x 12, '.' clear
  std::map<char, Color> colors;
};

// Tiny side and front views, facing right, drawn for the strip.
const std::vector<Sprite>& ParadeSprites() {
  static const std::vector<Sprite> sprites = {
      // Ant
      {{"............", "..........a.", ".........a.a", "..rrr....rr.", ".rRrrr..rRrr", ".rrrrrrrrrrr",
        ".rrrrr.rrrr.", "..rrr.aa.a..", "..a.a.a..a..", ".a..a..a..a.", "............", "............"},
       {{'r', {184, 70, 28}}, {'R', {240, 140, 80}}, {'a', {70, 24, 10}}}},
      // Chigger
      {{"............", "............", "....pppp....", "...pPPpppp..", "..pPpppppppy", "..pppspppppp",
        "..ppppppsp..", "...pppppp...", "..a.a..a.a..", ".a..a..a..a.", "............", "............"},
       {{'p', {154, 46, 192}}, {'P', {226, 150, 246}}, {'s', {250, 210, 255}}, {'y', {255, 50, 50}},
        {'a', {58, 12, 74}}}},
      // Cow
      {{"............", ".........h..", "..........h.", ".wwwwwwwwWw.", "wxxwwwwxwwwp", ".wxxwwwwwwpp",
        ".wwwwxxwww..", ".wwwwxxwww..", ".l.l...l.l..", ".l.l...l.l..", ".k.k...k.k..", "............"},
       {{'w', {236, 236, 240}}, {'W', {20, 20, 24}}, {'x', {38, 36, 42}}, {'p', {244, 164, 176}},
        {'h', {230, 214, 160}}, {'l', {200, 196, 200}}, {'k', {60, 56, 60}}}},
      // Devil
      {{"..h......h..", "..hh....hh..", "...rrrrrr...", "..rrrrrrrr..", "..ryyrryyr..", "..rrrrrrrr..",
        "..rkkkkkkr..", "...rwrrwr...", "v...rrrr...v", "vv..rrrr..vv", ".vvrrrrrrvv.", "....r..r...."},
       {{'r', {220, 44, 34}}, {'h', {232, 220, 176}}, {'y', {255, 224, 64}}, {'k', {40, 6, 6}},
        {'w', {255, 255, 255}}, {'v', {94, 30, 80}}}},
      // Frog
      {{"............", "............", "......yy.yy.", ".....ykyykyy", "....gggggggg", "...gggggggGg",
        "..ggGggggllll", "..gggggglll.", ".gg.gggg.gg.", "gg..g..g..gg", "............", "............"},
       {{'g', {74, 174, 56}}, {'G', {160, 230, 120}}, {'l', {200, 220, 120}}, {'y', {248, 224, 64}},
        {'k', {20, 20, 20}}}},
      // Pig
      {{"............", "............", "........ee..", "..pppppppep.", ".pppppppppPp", ".pppPppppkpp",
        "ppppppppppSS", ".pppppppppSS", "..pppppppp..", "..p.p..p.p..", "..d.d..d.d..", "............"},
       {{'p', {240, 156, 172}}, {'P', {255, 220, 228}}, {'e', {200, 110, 128}}, {'S', {255, 188, 200}},
        {'k', {30, 10, 16}}, {'d', {150, 70, 90}}}},
      // Horse
      {{"............", "........mhh.", ".......mhhhhh", "......mhhrhhh", "......mhhhhSh", "..mhhhhhhh...",
        ".mhhhhhhhhh..", "mmhhhhhhhh...", ".mh.h..h.h...", "..h.h..h.h...", "..k.k..k.k...", "............"},
       {{'h', {122, 66, 30}}, {'m', {22, 18, 22}}, {'r', {255, 40, 40}}, {'S', {190, 120, 80}},
        {'k', {30, 20, 14}}}},
  };
  return sprites;
}

// The player, facing left towards the parade.
const Sprite& ParadePlayer() {
  static const Sprite player = {
      {"............", "....GGGG....", "...GGGGGG...", "...vvvvGG...", "...cvvvGG...", "....GGGG....",
       "..ggGGGGgg..", "kkkkkkGGgg..", "...gGGGGg...", "....GG.GG...", "....gg.gg...", "....kk.kk..."},
      {{'G', {94, 208, 102}}, {'g', {47, 154, 58}}, {'v', {16, 32, 42}}, {'c', {160, 240, 255}},
       {'k', {42, 44, 52}}}};
  return player;
}

void DrawSprite(Image& img, const Sprite& s, int x0, int y0, int scale, bool mirror) {
  auto colorAt = [&](int c, int r, Color& out) {
    if (r < 0 || r >= 12 || c < 0) return false;
    const char* row = s.rows[r];
    const int len = static_cast<int>(std::char_traits<char>::length(row));
    if (c >= len) return false;
    const auto it = s.colors.find(row[c]);
    if (it == s.colors.end()) return false;
    out = it->second;
    return true;
  };
  const Color outline{12, 10, 16};
  for (int r = -1; r <= 12; ++r) {
    for (int c = -1; c <= 12; ++c) {
      Color col;
      bool filled = colorAt(c, r, col);
      if (!filled) {
        // A dark rim round every sprite so it stands off the background.
        Color dummy;
        const bool edge = colorAt(c - 1, r, dummy) || colorAt(c + 1, r, dummy) || colorAt(c, r - 1, dummy) ||
                          colorAt(c, r + 1, dummy);
        if (!edge) continue;
        col = outline;
      } else {
        // Lighten the top of each sprite a little, darken the bottom: cheap roundness.
        col = r < 5 ? Mix(col, White, 0.08 * (5 - r) / 5.0) : Mix(col, Black, 0.05 * (r - 5));
      }
      const int dc = mirror ? 11 - c : c;
      img.FillRect(x0 + dc * scale, y0 + r * scale, scale, scale, col);
    }
  }
}

}  // namespace

Image MakeSecondPicture(int w, int h) {
  Image img(w, h, Black);
  if (img.Empty()) return img;
  // A brick walkway along the bottom.
  const int ground = h - std::max(4, h / 6);
  for (int y = ground; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int row = (y - ground) / 6, bx = (x + (row % 2) * 8) % 16;
      Color c{120, 46, 32};
      if ((y - ground) % 6 == 5 || bx == 15) c = Color{40, 24, 20};
      else if ((y - ground) % 6 == 0 || bx == 0) c = Color{170, 80, 58};
      img.SetPixel(x, y, c);
    }
  }
  const int scale = std::max(1, std::min((ground - 2) / 12, w / 100));
  const int spriteW = 12 * scale;
  const auto& sprites = ParadeSprites();
  const int count = static_cast<int>(sprites.size());
  // The creatures take the left part; the player holds the right end and fires back.
  const int playerX = w - spriteW - scale * 3;
  const int stride = std::max(spriteW, (playerX - spriteW * 3 - 6) / std::max(1, count));
  const int y = ground - 12 * scale + scale;
  for (int i = 0; i < count; ++i) {
    const int x = 6 + i * stride + ((i % 2) ? 0 : scale);
    DrawSprite(img, sprites[static_cast<size_t>(i)], x, y - (i % 2) * scale, scale, false);
  }
  DrawSprite(img, ParadePlayer(), playerX, y, scale, true);
  // The shot: a glowing bolt with its trail, just left of the player's rifle.
  const int boltY = y + 7 * scale + scale / 2;
  const int boltX = playerX - spriteW;
  for (int i = 0; i < spriteW; ++i) {
    const double t = static_cast<double>(i) / spriteW;
    const int thick = std::max(1, static_cast<int>(scale * (0.3 + 0.9 * (1 - t))));
    img.FillRect(boltX + i, boltY - thick / 2, 1, std::max(1, thick), Mix(Color{200, 255, 140}, Color{20, 90, 20}, t));
  }
  img.FillRect(boltX - scale, boltY - scale, scale * 2, scale * 2, Color{230, 255, 200});
  return img;
}
