#include "music_maker/rate_halving.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr int kTaps = 63;

// A Blackman-windowed sinc cutting at 0.45 of the new rate: the band up to about
// 9.9 kHz of a 22.05 kHz result passes, what would fold back is 70 dB down.
std::array<double, kTaps> LowPass() {
  std::array<double, kTaps> h{};
  constexpr double cutoff = 0.45 / 2.0;  // of the input rate
  constexpr int mid = kTaps / 2;
  double sum = 0;
  for (int i = 0; i < kTaps; ++i) {
    const double n = i - mid;
    const double sinc = n == 0 ? 2 * cutoff : std::sin(2 * std::numbers::pi * cutoff * n) / (std::numbers::pi * n);
    const double w = 0.42 - 0.5 * std::cos(2 * std::numbers::pi * i / (kTaps - 1)) +
                     0.08 * std::cos(4 * std::numbers::pi * i / (kTaps - 1));
    h[static_cast<size_t>(i)] = sinc * w;
    sum += h[static_cast<size_t>(i)];
  }
  for (double& v : h) v /= sum;  // unity gain at 0 Hz
  return h;
}

}  // namespace

std::vector<int16_t> HalveRate(const std::vector<int16_t>& samples) {
  static const std::array<double, kTaps> h = LowPass();
  const int n = static_cast<int>(samples.size());
  std::vector<int16_t> out;
  out.reserve(samples.size() / 2 + 1);
  for (int centre = 0; centre < n; centre += 2) {
    double acc = 0;
    for (int k = 0; k < kTaps; ++k) {
      const int at = centre + k - kTaps / 2;
      if (at >= 0 && at < n) acc += h[static_cast<size_t>(k)] * samples[static_cast<size_t>(at)];
    }
    out.push_back(static_cast<int16_t>(std::clamp(std::lround(acc), -32768L, 32767L)));
  }
  return out;
}
