#pragma once
// The map on the form: shows a picture drawn by PaintMap and takes the mouse.
#include <cstdint>

#include "base/image.h"
#include "ui/controls.h"

class MapControl : public Control {
 public:
  // Replaces the picture; the screen shows it at the next present.
  void SetPicture(Image picture);
  const Image& Picture() const { return picture_; }
  void Paint(Image& target, int x, int y) const override;
  uint64_t StateHash() const override;

 private:
  Image picture_;
  uint64_t revision_ = 0;
};
