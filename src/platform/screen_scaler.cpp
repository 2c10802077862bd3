#include "platform/screen_scaler.h"

#include <algorithm>
#include <cstring>

namespace {

// Output pixel i of `out` pixels shows source pixel floor((i + 1/2) * in / out).
void BuildMaps(int in, int out, std::vector<int>& source, std::vector<int>& first) {
  source.assign(static_cast<size_t>(std::max(out, 0)), 0);
  first.assign(static_cast<size_t>(std::max(in, 0)) + 1, out);
  for (int i = out - 1; i >= 0; --i) {
    int s = static_cast<int>((int64_t{2} * i + 1) * in / (int64_t{2} * out));
    source[static_cast<size_t>(i)] = s;
    first[static_cast<size_t>(s)] = i;
  }
  // Source pixels no output pixel shows start where the next shown one does.
  for (int s = in - 1; s >= 0; --s)
    first[static_cast<size_t>(s)] = std::min(first[static_cast<size_t>(s)], first[static_cast<size_t>(s) + 1]);
}

}  // namespace

void ScreenScaler::Configure(int logicalWidth, int logicalHeight, const ScreenFit& fit) {
  if (logicalWidth == logicalWidth_ && logicalHeight == logicalHeight_ && fit.x == fit_.x && fit.y == fit_.y &&
      fit.w == fit_.w && fit.h == fit_.h)
    return;
  logicalWidth_ = logicalWidth;
  logicalHeight_ = logicalHeight;
  fit_ = fit;
  BuildMaps(logicalWidth, fit.w, sourceColumn_, firstColumn_);
  BuildMaps(logicalHeight, fit.h, sourceRow_, firstRow_);
}

Rect ScreenScaler::OutputArea(const Rect& area) const {
  Rect a = area.Intersect({0, 0, logicalWidth_, logicalHeight_});
  if (a.Empty() || fit_.w <= 0 || fit_.h <= 0) return {};
  int x0 = firstColumn_[static_cast<size_t>(a.x)], x1 = firstColumn_[static_cast<size_t>(a.Right())];
  int y0 = firstRow_[static_cast<size_t>(a.y)], y1 = firstRow_[static_cast<size_t>(a.Bottom())];
  return {fit_.x + x0, fit_.y + y0, x1 - x0, y1 - y0};
}

Rect ScreenScaler::Scale(const Image& screen, const Rect& area, uint32_t* output, int pitch) const {
  if (screen.Width() != logicalWidth_ || screen.Height() != logicalHeight_) return {};
  Rect out = OutputArea(area);
  if (out.Empty()) return out;
  const uint32_t* pixels = screen.Pixels().data();
  const int* columns = sourceColumn_.data() + (out.x - fit_.x);
  const uint32_t* lastSource = nullptr;
  uint32_t* lastRow = nullptr;
  for (int y = out.y; y < out.Bottom(); ++y) {
    const uint32_t* source = pixels + static_cast<size_t>(sourceRow_[static_cast<size_t>(y - fit_.y)]) * logicalWidth_;
    uint32_t* row = output + static_cast<size_t>(y) * pitch + out.x;
    if (source == lastSource) {
      // Enlarged: the row above shows the same logical row.
      std::memcpy(row, lastRow, static_cast<size_t>(out.w) * sizeof(uint32_t));
      continue;
    }
    for (int x = 0; x < out.w; ++x) row[x] = source[columns[x]];
    lastSource = source;
    lastRow = row;
  }
  return out;
}
