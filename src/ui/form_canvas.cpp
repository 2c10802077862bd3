#include "ui/form_canvas.h"

void FormCanvas::Reset(int width, int height, Color fill) {
  width_ = width;
  height_ = height;
  fill_ = fill;
  pixels_ = Image();
}

void FormCanvas::Fill(Color c) {
  // A filled canvas is flat again: its pixels can go.
  fill_ = c;
  pixels_ = Image();
}

const Image& FormCanvas::Picture() const {
  if (Flat()) pixels_ = Image(width_, height_, fill_);
  return pixels_;
}

Image& FormCanvas::Drawable() {
  Picture();
  return pixels_;
}
