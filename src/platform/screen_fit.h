#pragma once
// Where the logical screen lands in the window: a whole factor of two or more when one
// fits (each pixel repeated, the rest black); otherwise the largest fit that keeps the
// aspect, reached from the whole factor 1 by a smooth step. Centred either way.

struct ScreenFit {
  int x = 0, y = 0, w = 0, h = 0;
  // The whole factor of the nearest-neighbour step (1 when less than twice the size
  // fits); the picture is w x h, exactly factor times the logical size unless Smooth.
  int factor = 0;
};

ScreenFit FitScreen(int outputWidth, int outputHeight, int logicalWidth, int logicalHeight);
// The fitted picture is not a whole multiple of the logical screen: a smooth step
// finishes the scaling.
bool NeedsSmoothStep(const ScreenFit& fit, int logicalWidth, int logicalHeight);

// A point of the output (pixels) in logical screen coordinates; outside the picture
// the result lies outside 0..logical size.
void OutputToLogical(const ScreenFit& fit, int logicalWidth, int logicalHeight, double px, double py,
                     int& x, int& y);
