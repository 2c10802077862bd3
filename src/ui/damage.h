#pragma once
// The parts of the screen that changed since it was last presented: a short list of
// rectangles. Overlapping ones merge; past a bound the closest pair merges, so the
// list never grows (and never allocates once made).
#include <vector>

#include "base/rect.h"

class DamageList {
 public:
  static constexpr size_t kMaxRects = 64;

  DamageList() { rects_.reserve(kMaxRects + 1); }
  // Rectangles are cut to the screen.
  void SetBounds(int width, int height) { bounds_ = {0, 0, width, height}; }
  void Add(const Rect& r);
  void AddWhole() { Add(bounds_); }
  bool Empty() const { return rects_.empty(); }
  bool Whole() const { return rects_.size() == 1 && rects_.front() == bounds_; }
  const std::vector<Rect>& Rects() const { return rects_; }
  void Clear() { rects_.clear(); }

 private:
  // Merges `r` with every rectangle it overlaps, until it overlaps none.
  Rect Absorb(Rect r);
  std::vector<Rect> rects_;
  Rect bounds_;
};
