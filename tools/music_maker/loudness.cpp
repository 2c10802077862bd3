#include "music_maker/loudness.h"

#include <algorithm>
#include <cmath>

namespace {

template <typename Sample>
Loudness Measure(std::span<const Sample> samples, int channels, int sampleRate, double fullScale) {
  Loudness l;
  if (channels <= 0 || sampleRate <= 0) return l;
  l.seconds = static_cast<double>(samples.size() / static_cast<size_t>(channels)) / sampleRate;
  if (samples.empty()) return l;
  double sum = 0, peak = 0;
  for (const Sample s : samples) {
    const double x = static_cast<double>(s) / fullScale;
    sum += x * x;
    peak = std::max(peak, std::abs(x));
  }
  l.rmsDb = AmplitudeToDb(std::sqrt(sum / static_cast<double>(samples.size())));
  l.peakDb = AmplitudeToDb(peak);
  return l;
}

}  // namespace

double AmplitudeToDb(double amplitude) {
  return amplitude > 1e-10 ? 20.0 * std::log10(amplitude) : -200.0;
}

double DbToAmplitude(double decibels) { return std::pow(10.0, decibels / 20.0); }

Loudness MeasureLoudness(std::span<const float> samples, int channels, int sampleRate) {
  return Measure(samples, channels, sampleRate, 1.0);
}

Loudness MeasureLoudness(std::span<const int16_t> samples, int channels, int sampleRate) {
  return Measure(samples, channels, sampleRate, 32768.0);
}
