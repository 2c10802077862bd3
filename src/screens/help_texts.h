#pragma once
// What the help pages say: the legend of the game's objects and the credits.
#include <array>
#include <span>

#include "base/image.h"

inline constexpr Color HelpRed{255, 0, 0};
inline constexpr Color HelpTeal{0, 128, 128};

struct LegendEntry {
  int page;  // 2..4
  int top;
  int code;  // the cell code whose tile picture the entry shows
  const char* caption;
  Color color;
  int pixelHeight;
  int wrapWidth;   // 0: one line
  int wrapHeight;  // 0: the height follows the wrapped lines
};

struct CreditLine {
  const char* heading;
  const char* text;
};

std::span<const LegendEntry> HelpLegend();
std::span<const CreditLine> HelpCredits();
