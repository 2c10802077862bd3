#include "loudness_meter/effect_playback.h"

#include <algorithm>
#include <cstddef>

namespace {

std::vector<float> ToFloat(const WaveData& wave) {
  std::vector<float> out;
  if (wave.format.bitsPerSample == 8) {
    for (uint8_t b : wave.samples) out.push_back((static_cast<float>(b) - 128.0f) / 128.0f);
  } else {
    for (size_t i = 0; i + 1 < wave.samples.size(); i += 2) {
      const auto s = static_cast<int16_t>(wave.samples[i] | (wave.samples[i + 1] << 8));
      out.push_back(static_cast<float>(s) / 32768.0f);
    }
  }
  return out;
}

}  // namespace

std::vector<float> PlayedEffect(const WaveData& wave, int mixerRate) {
  const std::vector<float> source = ToFloat(wave);
  const size_t channels = std::max<size_t>(1, wave.format.channels);
  const size_t frames = source.size() / channels;
  if (frames == 0 || wave.format.samplesPerSec == 0 || mixerRate <= 0) return {};
  // Straight lines between the wave's samples where its rate differs from the mixer's.
  const double step = static_cast<double>(wave.format.samplesPerSec) / mixerRate;
  const size_t outFrames = static_cast<size_t>(static_cast<double>(frames) / step);
  std::vector<float> out;
  out.reserve(outFrames * 2);
  for (size_t f = 0; f < outFrames; ++f) {
    const double at = static_cast<double>(f) * step;
    const size_t i = std::min(frames - 1, static_cast<size_t>(at));
    const size_t j = std::min(frames - 1, i + 1);
    const float frac = static_cast<float>(at - static_cast<double>(i));
    for (size_t c = 0; c < 2; ++c) {
      const size_t from = std::min(c, channels - 1);
      const float a = source[i * channels + from], b = source[j * channels + from];
      out.push_back(a + (b - a) * frac);
    }
  }
  return out;
}
