#include "platform/screen_fit.h"

#include <algorithm>
#include <cmath>

ScreenFit FitScreen(int outputWidth, int outputHeight, int logicalWidth, int logicalHeight) {
  ScreenFit fit;
  if (outputWidth <= 0 || outputHeight <= 0 || logicalWidth <= 0 || logicalHeight <= 0) return fit;
  int factor = std::min(outputWidth / logicalWidth, outputHeight / logicalHeight);
  fit.factor = std::max(factor, 1);
  if (factor >= 2) {
    fit.w = logicalWidth * factor;
    fit.h = logicalHeight * factor;
  } else {
    double scale = std::min(static_cast<double>(outputWidth) / logicalWidth,
                            static_cast<double>(outputHeight) / logicalHeight);
    fit.w = std::max(1, static_cast<int>(std::lround(logicalWidth * scale)));
    fit.h = std::max(1, static_cast<int>(std::lround(logicalHeight * scale)));
  }
  fit.x = (outputWidth - fit.w) / 2;
  fit.y = (outputHeight - fit.h) / 2;
  return fit;
}

bool NeedsSmoothStep(const ScreenFit& fit, int logicalWidth, int logicalHeight) {
  return fit.w != logicalWidth * fit.factor || fit.h != logicalHeight * fit.factor;
}

void OutputToLogical(const ScreenFit& fit, int logicalWidth, int logicalHeight, double px, double py,
                     int& x, int& y) {
  if (fit.w <= 0 || fit.h <= 0) {
    x = static_cast<int>(px);
    y = static_cast<int>(py);
    return;
  }
  x = static_cast<int>(std::floor((px - fit.x) * logicalWidth / fit.w));
  y = static_cast<int>(std::floor((py - fit.y) * logicalHeight / fit.h));
}
