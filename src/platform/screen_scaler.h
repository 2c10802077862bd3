#pragma once
// The scaling step between the logical screen and the window: copies rectangles of
// the logical picture into the window's pixels, each output pixel taking the logical
// pixel under its centre (nearest neighbour). Where the picture lands is FitScreen's.
#include <cstdint>
#include <vector>

#include "base/image.h"
#include "base/rect.h"
#include "platform/screen_fit.h"

class ScreenScaler {
 public:
  // A logical screen of the given size shown at `fit` of the output.
  void Configure(int logicalWidth, int logicalHeight, const ScreenFit& fit);
  const ScreenFit& Fit() const { return fit_; }
  // The output rectangle showing the logical rectangle `area`.
  Rect OutputArea(const Rect& area) const;
  // Scales `area` of `screen` (sized as configured) into 32-bit output pixels with
  // `pitch` pixels per row; returns the output rectangle written.
  Rect Scale(const Image& screen, const Rect& area, uint32_t* output, int pitch) const;

 private:
  int logicalWidth_ = 0, logicalHeight_ = 0;
  ScreenFit fit_;
  std::vector<int> sourceColumn_, sourceRow_;  // per output column/row of the fit
  std::vector<int> firstColumn_, firstRow_;    // per logical column/row (+1): its first output one
};
