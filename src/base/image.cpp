#include "base/image.h"

#include <algorithm>

namespace {

uint32_t Pack(Color c) { return (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b; }

Color Unpack(uint32_t p) {
  return Color{static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)};
}

// Intersects [x, x + w) with [0, limit); false when nothing is left.
bool ClipSpan(int& x, int& w, int limit, int& skip) {
  skip = 0;
  if (x < 0) {
    skip = -x;
    w += x;
    x = 0;
  }
  if (x + w > limit) w = limit - x;
  return w > 0;
}

}  // namespace

Image::Image(int width, int height, Color fill) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), Pack(fill));
}

Color Image::PixelColor(int x, int y) const { return Unpack(Pixel(x, y)); }

void Image::SetPixel(int x, int y, Color c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * width_ + x] = Pack(c);
}

void Image::Fill(Color c) { std::fill(pixels_.begin(), pixels_.end(), Pack(c)); }

void Image::FillRect(int x, int y, int w, int h, Color c) {
  int skipX = 0, skipY = 0;
  if (!ClipSpan(x, w, width_, skipX) || !ClipSpan(y, h, height_, skipY)) return;
  const uint32_t p = Pack(c);
  for (int row = y; row < y + h; ++row) {
    uint32_t* line = pixels_.data() + static_cast<size_t>(row) * width_;
    std::fill(line + x, line + x + w, p);
  }
}

void Image::Blit(const Image& src, int x, int y) {
  int w = src.width_, h = src.height_;
  int skipX = 0, skipY = 0;
  if (!ClipSpan(x, w, width_, skipX) || !ClipSpan(y, h, height_, skipY)) return;
  for (int row = 0; row < h; ++row) {
    const uint32_t* from = src.pixels_.data() + static_cast<size_t>(row + skipY) * src.width_ + skipX;
    std::copy(from, from + w, pixels_.data() + static_cast<size_t>(y + row) * width_ + x);
  }
}

void Image::BlitStretched(const Image& src, int x, int y, int w, int h) {
  if (src.Empty() || w <= 0 || h <= 0) return;
  // Source coordinates come from the unclipped destination, so a partly hidden
  // picture shows the same pixels as it would whole.
  const int fullW = w, fullH = h;
  int skipX = 0, skipY = 0;
  if (!ClipSpan(x, w, width_, skipX) || !ClipSpan(y, h, height_, skipY)) return;
  for (int row = 0; row < h; ++row) {
    const int sy = static_cast<int>(static_cast<int64_t>(row + skipY) * src.height_ / fullH);
    const uint32_t* from = src.pixels_.data() + static_cast<size_t>(sy) * src.width_;
    uint32_t* to = pixels_.data() + static_cast<size_t>(y + row) * width_ + x;
    for (int col = 0; col < w; ++col) {
      const int sx = static_cast<int>(static_cast<int64_t>(col + skipX) * src.width_ / fullW);
      to[col] = from[sx];
    }
  }
}

void Image::BlendArgb(const std::vector<uint32_t>& argb, int w, int h, int x, int y) {
  if (w <= 0 || h <= 0 || argb.size() < static_cast<size_t>(w) * static_cast<size_t>(h)) return;
  const int fullW = w;
  int skipX = 0, skipY = 0;
  if (!ClipSpan(x, w, width_, skipX) || !ClipSpan(y, h, height_, skipY)) return;
  for (int row = 0; row < h; ++row) {
    const uint32_t* from = argb.data() + static_cast<size_t>(row + skipY) * fullW + skipX;
    uint32_t* to = pixels_.data() + static_cast<size_t>(y + row) * width_ + x;
    for (int col = 0; col < w; ++col) {
      const uint32_t s = from[col];
      const uint32_t a = s >> 24;
      if (a == 0) continue;
      if (a == 255) {
        to[col] = s & 0xFFFFFFu;
        continue;
      }
      // Smooth text edges: mix in proportion to coverage.
      const uint32_t d = to[col];
      uint32_t out = 0;
      for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
        out |= ((sc * a + dc * (255 - a) + 127) / 255) << shift;
      }
      to[col] = out;
    }
  }
}

