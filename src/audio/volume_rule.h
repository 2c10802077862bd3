#pragma once
// The volume of a played sound: a level 0..100 sets 30 x level - 3000 hundredths of a
// decibel (100 is full volume, 0 is 30 dB down), given to the output as a linear gain.
#include <algorithm>
#include <cmath>

inline double VolumeGain(int level) {
  const double hundredths = 30.0 * std::clamp(level, 0, 100) - 3000.0;
  return std::pow(10.0, hundredths / 2000.0);
}
