#pragma once
// Colour mixing shared by the menu pictures.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/image.h"

// The colour a fraction t (0..1) of the way from a to b.
inline Color Mix(Color a, Color b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto m = [t](uint8_t x, uint8_t y) { return static_cast<uint8_t>(std::lround(x + (y - x) * t)); };
  return Color{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}
