#pragma once
// A form's own drawing surface. Until something is drawn on it, it is one colour and
// holds no pixels: most screens never draw on theirs, and a full-screen picture each
// would cost megabytes.
#include <cstdint>

#include "base/image.h"

class FormCanvas {
 public:
  FormCanvas(int width, int height, Color fill) { Reset(width, height, fill); }

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Back to one colour at the given size.
  void Reset(int width, int height, Color fill);
  // Nothing drawn since the last Reset or Fill: every pixel is FlatColor().
  bool Flat() const { return pixels_.Empty(); }
  Color FlatColor() const { return fill_; }
  // A copy of the whole picture.
  Image Copy() const { return Flat() ? Image(width_, height_, fill_) : pixels_; }
  // The pixels, made on first use.
  const Image& Picture() const;

  uint32_t Pixel(int x, int y) const { return Flat() ? Packed(fill_) : pixels_.Pixel(x, y); }
  Color PixelColor(int x, int y) const { return Flat() ? fill_ : pixels_.PixelColor(x, y); }
  void Fill(Color c);
  void FillRect(int x, int y, int w, int h, Color c) { Drawable().FillRect(x, y, w, h, c); }
  void Blit(const Image& src, int x, int y) { Drawable().Blit(src, x, y); }
  void BlitStretched(const Image& src, int x, int y, int w, int h) { Drawable().BlitStretched(src, x, y, w, h); }

 private:
  static uint32_t Packed(Color c) { return (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b; }
  Image& Drawable();

  int width_ = 0, height_ = 0;
  Color fill_;
  mutable Image pixels_;
};
