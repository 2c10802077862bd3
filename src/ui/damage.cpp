#include "ui/damage.h"

#include <cstdint>

void DamageList::Add(const Rect& added) {
  Rect r = added.Intersect(bounds_);
  if (r.Empty()) return;
  for (const Rect& e : rects_)
    if (e.Contains(r)) return;
  r = Absorb(r);
  if (rects_.size() < kMaxRects) {
    rects_.push_back(r);
    return;
  }
  // Full: grow the rectangle that grows least, then let it absorb its new neighbours.
  size_t best = 0;
  int64_t bestGrowth = INT64_MAX;
  for (size_t i = 0; i < rects_.size(); ++i) {
    int64_t growth = rects_[i].Union(r).Area() - rects_[i].Area();
    if (growth < bestGrowth) {
      bestGrowth = growth;
      best = i;
    }
  }
  Rect merged = rects_[best].Union(r);
  rects_.erase(rects_.begin() + static_cast<std::ptrdiff_t>(best));
  rects_.push_back(Absorb(merged));
}

Rect DamageList::Absorb(Rect r) {
  for (size_t i = 0; i < rects_.size();) {
    if (rects_[i].Overlaps(r)) {
      r = r.Union(rects_[i]);
      rects_.erase(rects_.begin() + static_cast<std::ptrdiff_t>(i));
      i = 0;
    } else {
      ++i;
    }
  }
  return r;
}
