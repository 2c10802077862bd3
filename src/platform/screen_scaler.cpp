#include "platform/screen_scaler.h"

#include <algorithm>
#include <cstring>

namespace {

// Byte by byte, a mixed with `weight`/256 of b; weights below 256, so a flat area
// (a == b) comes out exact. Plain 16-bit arithmetic, which compilers turn into vector
// instructions.
void MixBytes(const uint8_t* __restrict a, const uint8_t* __restrict b, const uint8_t* __restrict weight,
              uint8_t* __restrict out, size_t count) {
  for (size_t i = 0; i < count; ++i)
    out[i] = static_cast<uint8_t>((a[i] * (256 - weight[i]) + b[i] * weight[i]) >> 8);
}

void MixBytes(const uint8_t* __restrict a, const uint8_t* __restrict b, uint8_t weight, uint8_t* __restrict out,
              size_t count) {
  for (size_t i = 0; i < count; ++i) out[i] = static_cast<uint8_t>((a[i] * (256 - weight) + b[i] * weight) >> 8);
}

const uint8_t* Bytes(const uint32_t* p) { return reinterpret_cast<const uint8_t*>(p); }
uint8_t* Bytes(uint32_t* p) { return reinterpret_cast<uint8_t*>(p); }

}  // namespace

void ScreenScaler::BuildAxis(int in, int out, bool smooth, AxisMap& map) {
  in = std::max(in, 0);
  out = std::max(out, 0);
  map.source.assign(static_cast<size_t>(out), 0);
  map.weight.assign(static_cast<size_t>(out), 0);
  for (int i = 0; i < out; ++i) {
    int64_t a = 0, w = 0;
    if (!smooth || out == in) {
      // Nearest: the source pixel under the output pixel's centre.
      a = (int64_t{2} * i + 1) * in / (int64_t{2} * out);
    } else if (out > in) {
      // Enlarging: the output pixel covers [i, i + 1) * in / out of the source, less
      // than one source pixel; the part past the next source edge is the weight.
      a = int64_t{i} * in / out;
      const int64_t past = (int64_t{i} + 1) * in - (a + 1) * out;  // in 1/out of a source pixel
      if (past > 0) w = (past * kWeightOne * 2 + in) / (int64_t{2} * in);
    } else {
      // Shrinking: bilinear at the output pixel's centre.
      int64_t at = ((int64_t{2} * i + 1) * in * kWeightOne) / (int64_t{2} * out) - kWeightOne / 2;
      at = std::max<int64_t>(at, 0);
      a = at / kWeightOne;
      w = at % kWeightOne;
    }
    if (w >= kWeightOne) a += 1, w = 0;  // weights stay below 256: one byte
    if (a >= in - 1) a = std::max(in - 1, 0), w = 0;
    map.source[static_cast<size_t>(i)] = static_cast<int>(a);
    map.weight[static_cast<size_t>(i)] = static_cast<uint16_t>(w);
  }
  // Both the first and the last source pixel an output pixel reads grow with it.
  map.firstReading.assign(static_cast<size_t>(in) + 1, out);
  map.firstStarting.assign(static_cast<size_t>(in) + 1, out);
  int reading = 0, starting = 0;
  for (int s = 0; s <= in; ++s) {
    while (reading < out && map.source[static_cast<size_t>(reading)] + (map.weight[static_cast<size_t>(reading)] ? 1 : 0) < s)
      ++reading;
    while (starting < out && map.source[static_cast<size_t>(starting)] < s) ++starting;
    map.firstReading[static_cast<size_t>(s)] = reading;
    map.firstStarting[static_cast<size_t>(s)] = starting;
  }
}

void ScreenScaler::Configure(int logicalWidth, int logicalHeight, const ScreenFit& fit) {
  if (logicalWidth == logicalWidth_ && logicalHeight == logicalHeight_ && fit.x == fit_.x && fit.y == fit_.y &&
      fit.w == fit_.w && fit.h == fit_.h && fit.factor == fit_.factor)
    return;
  logicalWidth_ = logicalWidth;
  logicalHeight_ = logicalHeight;
  fit_ = fit;
  smooth_ = NeedsSmoothStep(fit, logicalWidth, logicalHeight);
  BuildAxis(logicalWidth, fit.w, smooth_, columns_);
  BuildAxis(logicalHeight, fit.h, smooth_, rows_);
  const size_t width = static_cast<size_t>(smooth_ ? std::max(fit.w, 0) : 0);
  for (auto& line : lines_) line.assign(width, 0);
  left_.assign(width, 0);
  right_.assign(width, 0);
  // Each column's weight once per byte of its pixel, and the pixel it mixes in (itself
  // when it mixes none, which at the right edge is the last one there is).
  columnWeightBytes_.assign(width * 4, 0);
  nextColumn_.assign(width, 0);
  for (size_t x = 0; x < width; ++x) {
    for (size_t b = 0; b < 4; ++b) columnWeightBytes_[x * 4 + b] = static_cast<uint8_t>(columns_.weight[x]);
    nextColumn_[x] = columns_.source[x] + (columns_.weight[x] ? 1 : 0);
  }
}

Rect ScreenScaler::OutputArea(const Rect& area) const {
  Rect a = area.Intersect({0, 0, logicalWidth_, logicalHeight_});
  if (a.Empty() || fit_.w <= 0 || fit_.h <= 0) return {};
  const int x0 = columns_.firstReading[static_cast<size_t>(a.x)];
  const int x1 = columns_.firstStarting[static_cast<size_t>(a.Right())];
  const int y0 = rows_.firstReading[static_cast<size_t>(a.y)];
  const int y1 = rows_.firstStarting[static_cast<size_t>(a.Bottom())];
  if (x1 <= x0 || y1 <= y0) return {};
  return {fit_.x + x0, fit_.y + y0, x1 - x0, y1 - y0};
}

Rect ScreenScaler::Scale(const Image& screen, const Rect& area, uint32_t* output, int pitch) {
  if (screen.Width() != logicalWidth_ || screen.Height() != logicalHeight_) return {};
  Rect out = OutputArea(area);
  if (out.Empty()) return out;
  return smooth_ ? ScaleSmooth(screen, out, output, pitch) : ScaleNearest(screen, out, output, pitch);
}

Rect ScreenScaler::ScaleNearest(const Image& screen, const Rect& out, uint32_t* output, int pitch) const {
  const uint32_t* pixels = screen.Pixels().data();
  const int* columns = columns_.source.data() + (out.x - fit_.x);
  const uint32_t* lastSource = nullptr;
  uint32_t* lastRow = nullptr;
  if (fit_.w == logicalWidth_ && fit_.h == logicalHeight_) {
    // Shown at its own size.
    for (int y = out.y; y < out.Bottom(); ++y)
      std::memcpy(output + static_cast<size_t>(y) * pitch + out.x,
                  pixels + static_cast<size_t>(y - fit_.y) * logicalWidth_ + (out.x - fit_.x),
                  static_cast<size_t>(out.w) * sizeof(uint32_t));
    return out;
  }
  for (int y = out.y; y < out.Bottom(); ++y) {
    const uint32_t* source =
        pixels + static_cast<size_t>(rows_.source[static_cast<size_t>(y - fit_.y)]) * logicalWidth_;
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

const uint32_t* ScreenScaler::ScaledRow(const Image& screen, int row, const Rect& out) {
  for (int i = 0; i < 2; ++i)
    if (lineRow_[i] == row) return lines_[i].data();
  // Rows are asked for top to bottom: the buffer holding the upper row is done with.
  const int slot = lineRow_[0] < lineRow_[1] ? 0 : 1;
  lineRow_[slot] = row;
  const uint32_t* source = screen.Pixels().data() + static_cast<size_t>(row) * logicalWidth_;
  const size_t first = static_cast<size_t>(out.x - fit_.x);
  const int* columns = columns_.source.data() + first;
  const int* next = nextColumn_.data() + first;
  for (int x = 0; x < out.w; ++x) {
    left_[static_cast<size_t>(x)] = source[columns[x]];
    right_[static_cast<size_t>(x)] = source[next[x]];
  }
  uint32_t* line = lines_[slot].data();
  MixBytes(Bytes(left_.data()), Bytes(right_.data()), columnWeightBytes_.data() + first * 4, Bytes(line),
           static_cast<size_t>(out.w) * 4);
  return line;
}

Rect ScreenScaler::ScaleSmooth(const Image& screen, const Rect& out, uint32_t* output, int pitch) {
  lineRow_[0] = lineRow_[1] = -1;  // the screen and the columns differ from the last call
  for (int y = out.y; y < out.Bottom(); ++y) {
    const size_t i = static_cast<size_t>(y - fit_.y);
    const int source = rows_.source[i];
    const uint32_t weight = rows_.weight[i];
    uint32_t* row = output + static_cast<size_t>(y) * pitch + out.x;
    const uint32_t* upper = ScaledRow(screen, source, out);
    if (!weight) {
      std::memcpy(row, upper, static_cast<size_t>(out.w) * sizeof(uint32_t));
      continue;
    }
    const uint32_t* lower = ScaledRow(screen, source + 1, out);
    MixBytes(Bytes(upper), Bytes(lower), static_cast<uint8_t>(weight), Bytes(row), static_cast<size_t>(out.w) * 4);
  }
  return out;
}
