#include "screens/menu_art.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "screens/menu_colors.h"

namespace {

// ---- small helpers -----------------------------------------------------------------

// Three-stop vertical gradient at t in 0..1.
Color Ramp(Color top, Color middle, Color bottom, double t) {
  return t < 0.5 ? Mix(top, middle, t * 2) : Mix(middle, bottom, (t - 0.5) * 2);
}

// The colours of a menu plate's face, top to bottom; the arrows reuse them so that
// they sit on the level plate without a seam.
constexpr Color PlateTop{255, 244, 206}, PlateBottom{214, 180, 112};
constexpr Color PlateLight{255, 255, 236}, PlateDark{140, 104, 52}, PlateRim{58, 36, 16};
constexpr int MenuPlateHeight = 54, ArrowSeatTop = 6;

struct Mask {
  int w = 0, h = 0;
  std::vector<uint8_t> bits;
  Mask(int width, int height) : w(width), h(height), bits(static_cast<size_t>(std::max(0, width * height)), 0) {}
  bool At(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h && bits[static_cast<size_t>(y) * w + x]; }
  void Set(int x, int y) {
    if (x >= 0 && y >= 0 && x < w && y < h) bits[static_cast<size_t>(y) * w + x] = 1;
  }
};

// A bevelled plate: dark rim, light top-left edge, shaded bottom-right edge, face
// filled by a vertical gradient. Corners are clipped for a rounded look.
void DrawPlate(Image& img, int x0, int y0, int w, int h, Color top, Color bottom, Color light, Color dark,
               Color rim, int bevel, bool sunken) {
  const int corner = std::min(3, std::min(w, h) / 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int cx = std::min(x, w - 1 - x), cy = std::min(y, h - 1 - y);
      if (cx + cy < corner - 1) continue;  // leave the clipped corner as it was
      Color c = Mix(top, bottom, h > 1 ? static_cast<double>(y) / (h - 1) : 0.0);
      if (cx == 0 || cy == 0 || cx + cy < corner) {
        c = rim;
      } else if (x <= bevel || y <= bevel) {
        if (!(x > w - 1 - bevel - 1 && y > bevel) && !(y > h - 1 - bevel - 1 && x > bevel))
          c = sunken ? dark : light;
        else
          c = sunken ? light : dark;
      } else if (x >= w - 1 - bevel || y >= h - 1 - bevel) {
        c = sunken ? light : dark;
      }
      img.SetPixel(x0 + x, y0 + y, c);
    }
  }
}

int PlateBevel(int h) { return std::max(1, h / 18); }

// The raised plate that every button and the level selector start from.
Image RaisedPlate(int w, int h) {
  Image img(w, h, Black);
  if (!img.Empty())
    DrawPlate(img, 0, 0, w, h, PlateTop, PlateBottom, PlateLight, PlateDark, PlateRim, PlateBevel(h), false);
  return img;
}

// ---- the logo ----------------------------------------------------------------------

// 5 x 7 letters, one string per row, '#' filled.
const std::map<char, std::array<const char*, 7>>& LogoLetters() {
  static const std::map<char, std::array<const char*, 7>> letters = {
      {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
      {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
      {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
      {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
      {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
      {'I', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"}},
      {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
      {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
  };
  return letters;
}

// The letters' shape, each letter cell cellW x cellH pixels; diagonal steps are
// filled in so strokes read as strokes, not staircases.
Mask LetterMask(const std::string& text, int w, int h, int x0, int y0, int cellW, int cellH) {
  Mask mask(w, h);
  int x = x0;
  for (char ch : text) {
    const auto it = LogoLetters().find(ch);
    if (it != LogoLetters().end()) {
      const auto& rows = it->second;
      auto on = [&](int c, int r) { return c >= 0 && c < 5 && r >= 0 && r < 7 && rows[r][c] == '#'; };
      for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 5; ++c) {
          if (!on(c, r)) continue;
          for (int py = 0; py < cellH; ++py)
            for (int px = 0; px < cellW; ++px) mask.Set(x + c * cellW + px, y0 + r * cellH + py);
          // Bridge diagonal neighbours with a triangle in each gap cell.
          for (int dc : {-1, 1}) {
            if (!on(c + dc, r + 1) || on(c + dc, r) || on(c, r + 1)) continue;
            for (int py = 0; py < cellH; ++py) {
              for (int px = 0; px < cellW; ++px) {
                const double fx = (px + 0.5) / cellW, fy = (py + 0.5) / cellH;
                // Gap cell beside this one (same row) gets the lower corner nearer the next cell.
                if (dc > 0 ? fx + (1 - fy) < 0.6 : (1 - fx) + (1 - fy) < 0.6)
                  mask.Set(x + (c + dc) * cellW + px, y0 + r * cellH + py);
                if (dc > 0 ? (1 - fx) + fy < 0.6 : fx + fy < 0.6)
                  mask.Set(x + c * cellW + px, y0 + (r + 1) * cellH + py);
              }
            }
          }
        }
      }
    }
    x += 6 * cellW;
  }
  return mask;
}

Mask Dilate(const Mask& in, int radius) {
  if (radius <= 0) return in;
  Mask out(in.w, in.h);
  for (int y = 0; y < in.h; ++y)
    for (int x = 0; x < in.w; ++x) {
      if (!in.At(x, y)) continue;
      for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
          if (dx * dx + dy * dy <= radius * radius) out.Set(x + dx, y + dy);
    }
  return out;
}

void DrawSparkle(Image& img, int cx, int cy, int size, Color c) {
  for (int i = -size; i <= size; ++i) {
    const Color edge = Mix(c, Black, std::abs(i) / static_cast<double>(size + 1));
    img.SetPixel(cx + i, cy, edge);
    img.SetPixel(cx, cy + i, edge);
  }
  img.SetPixel(cx - 1, cy - 1, Mix(c, Black, 0.6));
  img.SetPixel(cx + 1, cy - 1, Mix(c, Black, 0.6));
  img.SetPixel(cx - 1, cy + 1, Mix(c, Black, 0.6));
  img.SetPixel(cx + 1, cy + 1, Mix(c, Black, 0.6));
}

}  // namespace

Image MakeTitlePicture(int w, int h) {
  Image img(w, h, Black);
  if (img.Empty()) return img;
  const std::string text = "TROK MIREL";
  const int columns = static_cast<int>(text.size()) * 6 - 1;
  const int depth = std::max(2, h / 25);
  const int cellW = std::max(1, (w - 24 - depth) / columns);
  const int cellH = std::max(1, std::min(cellW * 7 / 6, (h - 16 - depth) / 7));
  const int textW = cellW * columns, textH = cellH * 7;
  const int x0 = (w - textW - depth) / 2, y0 = (h - textH - depth) / 2;

  // A faint starfield so the black does not look empty.
  uint32_t seed = 12345;
  auto next = [&seed]() { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
  for (int i = 0; i < w * h / 300; ++i) {
    const int x = static_cast<int>(next() % w), y = static_cast<int>(next() % h);
    const uint8_t v = static_cast<uint8_t>(40 + next() % 90);
    img.SetPixel(x, y, Color{v, v, static_cast<uint8_t>(std::min(255, v + 30))});
  }

  // Thicken the strokes so the letters look heavy rather than drawn with a pen.
  const Mask face = Dilate(LetterMask(text, w, h, x0, y0, cellW, cellH), cellW / 5);
  Mask body(w, h);  // face plus its extrusion down and to the right
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int d = 0; d <= depth; ++d)
        if (face.At(x - d, y - d)) {
          body.Set(x, y);
          break;
        }
  const int rim = std::max(1, cellW / 5);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (body.At(x, y)) continue;
      bool near = false;
      for (int dy = -rim; dy <= rim && !near; ++dy)
        for (int dx = -rim; dx <= rim && !near; ++dx) near = dx * dx + dy * dy <= rim * rim + 1 && body.At(x + dx, y + dy);
      if (near) img.SetPixel(x, y, Color{28, 6, 0});
    }
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (!body.At(x, y) || face.At(x, y)) continue;
      int d = 1;
      while (d < depth && !face.At(x - d, y - d)) ++d;
      img.SetPixel(x, y, Mix(Color{150, 46, 8}, Color{70, 14, 4}, static_cast<double>(d) / depth));
    }
  }
  const int bevel = std::max(1, cellW / 6);
  for (int y = 0; y < h; ++y) {
    const double t = textH > 1 ? static_cast<double>(y - y0) / (textH - 1) : 0.0;
    // Within each letter row a glossy band lights the upper third.
    const double inRow = std::fmod(std::max(0.0, static_cast<double>(y - y0)), static_cast<double>(textH));
    Color base = Ramp(Color{255, 246, 150}, Color{255, 176, 36}, Color{214, 56, 12}, t);
    if (inRow < textH * 0.42) base = Mix(base, White, 0.18);
    for (int x = 0; x < w; ++x) {
      if (!face.At(x, y)) continue;
      Color c = base;
      if (!face.At(x - bevel, y) || !face.At(x, y - bevel)) c = Mix(base, White, 0.55);
      else if (!face.At(x + bevel, y) || !face.At(x, y + bevel)) c = Mix(base, Color{120, 20, 0}, 0.55);
      img.SetPixel(x, y, c);
    }
  }
  // Glints on a few letters.
  const int glintY = y0 + cellH / 2;
  for (int i : {0, 2, 5, 8}) {
    const int gx = x0 + i * 6 * cellW + cellW / 2;
    if (face.At(gx, glintY)) DrawSparkle(img, gx, glintY, std::max(2, cellW / 2), White);
  }
  DrawSparkle(img, x0 - 2, y0 + textH + 2, 4, Color{255, 220, 120});
  DrawSparkle(img, x0 + textW + depth, y0 - 2, 5, Color{255, 220, 120});
  return img;
}

Image MakeButton(int w, int h) {
  Image img = RaisedPlate(w, h);
  if (img.Empty()) return img;
  const int bevel = PlateBevel(h);
  // The key cap on the left: a sunken, cooler panel so the blue key name sits apart.
  // Key names start about 10 pixels in and captions about 43, so the cap ends at 40.
  const int capX = bevel + 3, capW = std::min(34, w / 3), capH = h - 2 * (bevel + 5);
  if (capW > 8 && capH > 8)
    DrawPlate(img, capX, bevel + 5, capW, capH, Color{226, 234, 248}, Color{186, 198, 222},
              Color{250, 252, 255}, Color{120, 130, 160}, Color{96, 84, 70}, 1, true);
  // A groove separating the cap from the caption.
  const int grooveX = capX + capW + 1;
  for (int y = bevel + 4; y < h - bevel - 4 && grooveX + 1 < w; ++y) {
    img.SetPixel(grooveX, y, Color{150, 114, 62});
    img.SetPixel(grooveX + 1, y, Color{255, 250, 226});
  }
  return img;
}

Image MakeArrow(bool up, int size) {
  Image img(size, size, Black);
  if (img.Empty()) return img;
  // The background continues the level plate's face behind it, scaled to this size.
  const double plateRows = size * static_cast<double>(MenuPlateHeight) / 42.0;
  const double seatTop = size * static_cast<double>(ArrowSeatTop) / 42.0;
  for (int y = 0; y < size; ++y)
    img.FillRect(0, y, size, 1, Mix(PlateTop, PlateBottom, (y + seatTop) / std::max(1.0, plateRows - 1)));
  // A round red key, nudged away from the corner where the key name is printed
  // (top right beside the down arrow, bottom left beside the up arrow).
  const double r = size * 0.37;
  const double cx = size * (up ? 0.56 : 0.44), cy = size * (up ? 0.44 : 0.56);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double dx = (x + 0.5 - cx) / r, dy = (y + 0.5 - cy) / r;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d > 1.0) {
        const double sx = (x + 0.5 - cx - size / 30.0) / r, sy = (y + 0.5 - cy - size / 30.0) / r;
        if (std::sqrt(sx * sx + sy * sy) <= 1.0) img.SetPixel(x, y, Mix(img.PixelColor(x, y), PlateDark, 0.6));
        continue;
      }
      Color c;
      if (d > 0.88) {
        c = Color{60, 6, 4};
      } else {
        // Lit from the top left, with a soft highlight.
        const double light = std::clamp(0.55 - 0.45 * (dx + dy) / 1.4 + 0.25 * std::sqrt(std::max(0.0, 1 - d * d)), 0.0, 1.0);
        c = Mix(Color{120, 8, 4}, Color{255, 96, 64}, light);
        if ((dx + 0.5) * (dx + 0.5) + (dy + 0.5) * (dy + 0.5) < 0.03) c = Mix(c, White, 0.6);
      }
      img.SetPixel(x, y, c);
    }
  }
  // The triangle, with a dark drop shadow and a white upper edge.
  const double half = r * 0.62;
  const double apex = up ? cy - r * 0.52 : cy + r * 0.52, base = up ? cy + r * 0.40 : cy - r * 0.40;
  auto inside = [&](double x, double y) {
    const double t = (y - apex) / (base - apex);
    return t >= 0 && t <= 1 && std::abs(x - cx) <= half * t;
  };
  const double shadow = std::max(1.0, size / 28.0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      if (inside(px, py)) {
        const bool edge = !inside(px - 1.2, py - 1.2);
        img.SetPixel(x, y, edge ? White : Mix(Color{255, 250, 210}, Color{255, 206, 60}, (py - (cy - r)) / (2 * r)));
      } else if (inside(px - shadow, py - shadow)) {
        img.SetPixel(x, y, Color{80, 6, 4});
      }
    }
  }
  return img;
}

Image MakeLevelSelector(int w, int h) {
  Image img = RaisedPlate(w, h);
  if (img.Empty()) return img;
  const int bevel = PlateBevel(h);
  // A recessed window for "Level" and its number, clear of the arrows (9 pixels in
  // from either end, 42 wide) and of their key names beside them.
  const int left = std::min(w / 2, 62), right = std::max(w / 2, w - 67);
  if (right - left > 10 && h > 2 * (bevel + 4) + 4)
    DrawPlate(img, left, bevel + 4, right - left, h - 2 * (bevel + 4), Color{250, 238, 200}, Color{236, 216, 160},
              Color{255, 252, 236}, Color{170, 136, 80}, Color{120, 90, 50}, 1, true);
  return img;
}
