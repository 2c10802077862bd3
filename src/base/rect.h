#pragma once
// An axis-aligned rectangle of pixels: the left-top corner and the size.
#include <algorithm>
#include <cstdint>

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;

  bool Empty() const { return w <= 0 || h <= 0; }
  int Right() const { return x + w; }
  int Bottom() const { return y + h; }
  int64_t Area() const { return Empty() ? 0 : int64_t{w} * h; }
  bool operator==(const Rect&) const = default;

  Rect Moved(int dx, int dy) const { return {x + dx, y + dy, w, h}; }
  // The common part; empty when they do not overlap.
  Rect Intersect(const Rect& o) const {
    int x0 = std::max(x, o.x), y0 = std::max(y, o.y);
    int x1 = std::min(Right(), o.Right()), y1 = std::min(Bottom(), o.Bottom());
    if (x0 >= x1 || y0 >= y1) return {};
    return {x0, y0, x1 - x0, y1 - y0};
  }
  bool Overlaps(const Rect& o) const { return !Intersect(o).Empty(); }
  bool Contains(const Rect& o) const {
    return o.Empty() || (!Empty() && o.x >= x && o.y >= y && o.Right() <= Right() && o.Bottom() <= Bottom());
  }
  // The smallest rectangle holding both (an empty one adds nothing).
  Rect Union(const Rect& o) const {
    if (Empty()) return o;
    if (o.Empty()) return *this;
    int x0 = std::min(x, o.x), y0 = std::min(y, o.y);
    return {x0, y0, std::max(Right(), o.Right()) - x0, std::max(Bottom(), o.Bottom()) - y0};
  }
};
