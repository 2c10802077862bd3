#pragma once
// The scaling step between the logical screen and the window. At a whole factor each
// output pixel takes the logical pixel under its centre (nearest neighbour). Between
// factors 1 and 2 a smooth step finishes the fit ("sharp bilinear"): an output pixel
// inside one logical pixel shows it exactly, one that straddles the edge of two mixes
// them by how much of it each covers, so every logical pixel keeps the same size and
// edges are at most one output pixel soft. Below the logical size it is a plain
// bilinear step. Weights are fixed-point and made once per fit; scaling allocates
// nothing. Where the picture lands is FitScreen's.
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
  bool Smooth() const { return smooth_; }
  // The output rectangle that shows anything of the logical rectangle `area`
  // (with the smooth step, the output pixels that mix in its edge pixels too).
  Rect OutputArea(const Rect& area) const;
  // Scales `area` of `screen` (sized as configured) into 32-bit output pixels with
  // `pitch` pixels per row; returns the output rectangle written. Pixels around `area`
  // are read where the smooth step mixes them in.
  Rect Scale(const Image& screen, const Rect& area, uint32_t* output, int pitch);

  // Weights are in 1/256: 0 shows `source`, 256 would show `source` + 1.
  static constexpr int kWeightOne = 256;
  // One axis: per output pixel the source pixel and the weight of the next one; per
  // source pixel (+1 for the end) the first output pixel reading it at all, and the
  // first output pixel reading from it onward.
  struct AxisMap {
    std::vector<int> source;
    std::vector<uint16_t> weight;
    std::vector<int> firstReading, firstStarting;
  };
  static void BuildAxis(int in, int out, bool smooth, AxisMap& map);

 private:
  Rect ScaleNearest(const Image& screen, const Rect& out, uint32_t* output, int pitch) const;
  Rect ScaleSmooth(const Image& screen, const Rect& out, uint32_t* output, int pitch);
  // Source row `row` scaled across the output columns of `out` into one of the two
  // line buffers (kept while consecutive output rows read it).
  const uint32_t* ScaledRow(const Image& screen, int row, const Rect& out);

  int logicalWidth_ = 0, logicalHeight_ = 0;
  ScreenFit fit_;
  bool smooth_ = false;
  AxisMap columns_, rows_;
  std::vector<uint32_t> lines_[2];
  std::vector<uint32_t> left_, right_;  // the two pixels each output column mixes
  std::vector<uint8_t> columnWeightBytes_;
  std::vector<int> nextColumn_;
  int lineRow_[2] = {-1, -1};
};
