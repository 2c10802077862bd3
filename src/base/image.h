#pragma once
// 32-bit software pictures: tiles, canvases, captures.
#include <cstdint>
#include <string>
#include <vector>

struct Color {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Color&) const = default;
};

inline constexpr Color Black{0, 0, 0};
inline constexpr Color White{255, 255, 255};

// The largest pictures the decoders accept, refused from their headers before any
// pixel is decoded: a tile or the title picture is far smaller.
inline constexpr int64_t MaxPictureSide = 4096;
inline constexpr int64_t MaxPicturePixels = MaxPictureSide * MaxPictureSide;

class Image {
 public:
  Image() = default;
  Image(int width, int height, Color fill = Black);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // 0x00RRGGBB per pixel, row by row from the top.
  uint32_t Pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  Color PixelColor(int x, int y) const;
  void SetPixel(int x, int y, Color c);
  const std::vector<uint32_t>& Pixels() const { return pixels_; }
  std::vector<uint32_t>& Pixels() { return pixels_; }

  void Fill(Color c);
  void FillRect(int x, int y, int w, int h, Color c);
  // Clipped copies of another picture, unscaled or stretched (nearest neighbour).
  void Blit(const Image& src, int x, int y);
  void BlitStretched(const Image& src, int x, int y, int w, int h);
  // Copies only pixels whose alpha (high byte of an RGBA source) is set; used for text.
  void BlendArgb(const std::vector<uint32_t>& argb, int w, int h, int x, int y);

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};
