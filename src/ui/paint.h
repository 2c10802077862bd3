#pragma once
// Drawing helpers for the controls and the message box: clipping to a rectangle and
// the 3D frames of the classic Windows look.
#include <algorithm>
#include <cstdint>

#include "base/image.h"

namespace paint {

inline constexpr Color Face{212, 208, 200};
inline constexpr Color Light{255, 255, 255};
inline constexpr Color Shadow{128, 128, 128};
inline constexpr Color DarkShadow{64, 64, 64};
inline constexpr Color Highlight{10, 36, 106};
inline constexpr Color HighlightEnd{166, 202, 240};

// Runs draw(piece, ox, oy) on a piece of `target` limited to the rectangle
// (x, y, w, h); (ox, oy) is where the rectangle's corner lies in the piece. What
// draw paints outside the rectangle is cut off.
template <class Draw>
void Clipped(Image& target, int x, int y, int w, int h, Draw&& draw) {
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = std::min(x + w, target.Width()), y1 = std::min(y + h, target.Height());
  if (x0 >= x1 || y0 >= y1) return;
  Image piece(x1 - x0, y1 - y0);
  piece.Blit(target, -x0, -y0);
  draw(piece, x - x0, y - y0);
  target.Blit(piece, x0, y0);
}

// A one-pixel frame: top and left in `topLeft`, bottom and right in `bottomRight`.
inline void Frame(Image& t, int x, int y, int w, int h, Color topLeft, Color bottomRight) {
  if (w <= 0 || h <= 0) return;
  t.FillRect(x, y, w, 1, topLeft);
  t.FillRect(x, y, 1, h, topLeft);
  t.FillRect(x, y + h - 1, w, 1, bottomRight);
  t.FillRect(x + w - 1, y, 1, h, bottomRight);
}

// The two-pixel sunken border of an edit field.
inline void Sunken(Image& t, int x, int y, int w, int h) {
  Frame(t, x, y, w, h, Shadow, Light);
  Frame(t, x + 1, y + 1, w - 2, h - 2, DarkShadow, Face);
}

// The two-pixel raised border of a button or a window.
inline void Raised(Image& t, int x, int y, int w, int h) {
  Frame(t, x, y, w, h, Face, DarkShadow);
  Frame(t, x + 1, y + 1, w - 2, h - 2, Light, Shadow);
}

// A pressed button.
inline void Pressed(Image& t, int x, int y, int w, int h) {
  Frame(t, x, y, w, h, DarkShadow, DarkShadow);
  Frame(t, x + 1, y + 1, w - 2, h - 2, Shadow, Face);
}

// A dotted focus rectangle.
inline void FocusRect(Image& t, int x, int y, int w, int h, Color c) {
  for (int i = 0; i < w; i += 2) {
    t.SetPixel(x + i, y, c);
    t.SetPixel(x + i, y + h - 1, c);
  }
  for (int i = 0; i < h; i += 2) {
    t.SetPixel(x, y + i, c);
    t.SetPixel(x + w - 1, y + i, c);
  }
}

inline Color Mix(Color a, Color b, int num, int den) {
  auto m = [&](uint8_t p, uint8_t q) { return static_cast<uint8_t>((p * (den - num) + q * num) / den); };
  return Color{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

}  // namespace paint
