// Stand-in for the picture code: the Image operations, and file formats that refuse.
#include "platform/image.h"

#include <algorithm>

Image::Image(int width, int height, Color fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * height_,
              (uint32_t{fill.r} << 16) | (uint32_t{fill.g} << 8) | fill.b) {}

Color Image::PixelColor(int x, int y) const {
  uint32_t p = Pixel(x, y);
  return Color{static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)};
}

void Image::SetPixel(int x, int y, Color c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * width_ + x] = (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
}

void Image::Fill(Color c) { FillRect(0, 0, width_, height_, c); }

void Image::FillRect(int x, int y, int w, int h, Color c) {
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = std::min(x + w, width_), y1 = std::min(y + h, height_);
  if (x0 >= x1 || y0 >= y1) return;
  uint32_t v = (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
  for (int yy = y0; yy < y1; ++yy)
    std::fill(pixels_.begin() + static_cast<ptrdiff_t>(yy) * width_ + x0,
              pixels_.begin() + static_cast<ptrdiff_t>(yy) * width_ + x1, v);
}

void Image::Blit(const Image& src, int x, int y) {
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = std::min(x + src.width_, width_), y1 = std::min(y + src.height_, height_);
  if (x0 >= x1) return;
  for (int yy = y0; yy < y1; ++yy) {
    const uint32_t* s = &src.pixels_[static_cast<size_t>(yy - y) * src.width_ + (x0 - x)];
    std::copy(s, s + (x1 - x0), &pixels_[static_cast<size_t>(yy) * width_ + x0]);
  }
}

void Image::BlitStretched(const Image& src, int x, int y, int w, int h) {
  if (src.Empty() || w <= 0 || h <= 0) return;
  for (int yy = std::max(y, 0); yy < std::min(y + h, height_); ++yy) {
    int sy = static_cast<int>(static_cast<int64_t>(yy - y) * src.height_ / h);
    for (int xx = std::max(x, 0); xx < std::min(x + w, width_); ++xx) {
      int sx = static_cast<int>(static_cast<int64_t>(xx - x) * src.width_ / w);
      pixels_[static_cast<size_t>(yy) * width_ + xx] = src.pixels_[static_cast<size_t>(sy) * src.width_ + sx];
    }
  }
}

void Image::BlendArgb(const std::vector<uint32_t>& argb, int w, int h, int x, int y) {
  if (static_cast<size_t>(w) * h > argb.size()) return;
  for (int yy = std::max(y, 0); yy < std::min(y + h, height_); ++yy) {
    for (int xx = std::max(x, 0); xx < std::min(x + w, width_); ++xx) {
      uint32_t s = argb[static_cast<size_t>(yy - y) * w + (xx - x)];
      uint32_t a = s >> 24;
      if (a == 0) continue;
      uint32_t& d = pixels_[static_cast<size_t>(yy) * width_ + xx];
      if (a == 255) {
        d = s & 0xffffff;
        continue;
      }
      uint32_t out = 0;
      for (int shift = 0; shift <= 16; shift += 8) {
        uint32_t sc = (s >> shift) & 0xff, dc = (d >> shift) & 0xff;
        out |= ((sc * a + dc * (255 - a) + 127) / 255) << shift;
      }
      d = out;
    }
  }
}

std::optional<Image> LoadBmp(const std::string& path, std::string& error) {
  error = "Cannot read picture '" + path + "'.";
  return std::nullopt;
}

bool SaveBmp24(const Image&, const std::string& path, std::string& error) {
  error = "Cannot write picture '" + path + "'.";
  return false;
}

std::optional<Image> LoadJpeg(const std::string& path, std::string& error) {
  error = "Cannot read picture '" + path + "'.";
  return std::nullopt;
}
