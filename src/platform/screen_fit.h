#pragma once
// Where the logical screen lands in the window: whole-number scaling when a factor of
// two or more fits, otherwise the largest fractional fit; centred, the rest black.

struct ScreenFit {
  int x = 0, y = 0, w = 0, h = 0;
};

ScreenFit FitScreen(int outputWidth, int outputHeight, int logicalWidth, int logicalHeight);

// A point of the output (pixels) in logical screen coordinates; outside the picture
// the result lies outside 0..logical size.
void OutputToLogical(const ScreenFit& fit, int logicalWidth, int logicalHeight, double px, double py,
                     int& x, int& y);
