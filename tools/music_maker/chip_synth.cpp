#include "music_maker/chip_synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Attack = 0.006, Decay = 0.09, Sustain = 0.65, Release = 0.07;

double Envelope(double t, double held) {
  double level;
  if (t < Attack) level = t / Attack;
  else if (t < Attack + Decay) level = 1.0 - (1.0 - Sustain) * (t - Attack) / Decay;
  else level = Sustain;
  if (t > held) level *= std::max(0.0, 1.0 - (t - held) / Release);
  return level;
}

double Wave(Voice voice, double phase) {  // phase in cycles
  const double p = phase - std::floor(phase);
  switch (voice) {
    case Voice::Square: return p < 0.5 ? 0.6 : -0.6;
    case Voice::Saw: return 2.0 * p - 1.0;
    case Voice::Triangle: return p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
    default: return std::sin(2.0 * Pi * p);
  }
}

struct Noise {
  uint32_t state = 0x1234567u;
  double Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return (state & 0xFFFF) / 32767.5 - 1.0;
  }
};

void AddDrum(std::vector<double>& mix, size_t first, int key, double gain, int rate, Noise& noise) {
  double length = 0.08;
  if (key == 36) length = 0.18;
  else if (key == 38 || key == 39) length = 0.14;
  else if (key == 46 || key == 49 || key == 51) length = 0.35;
  else if (key == 45 || key == 50) length = 0.2;
  const size_t count = static_cast<size_t>(length * rate);
  double phase = 0.0;
  for (size_t i = 0; i < count && first + i < mix.size(); ++i) {
    const double t = double(i) / rate;
    const double fade = std::pow(1.0 - double(i) / count, 2.0);
    double v;
    if (key == 36) {  // kick: falling sine
      phase += (50.0 + 120.0 * std::exp(-t * 30.0)) / rate;
      v = std::sin(2.0 * Pi * phase) * 1.2;
    } else if (key == 45 || key == 50) {
      phase += (key == 45 ? 110.0 : 160.0) * (1.0 + std::exp(-t * 20.0)) / rate;
      v = std::sin(2.0 * Pi * phase);
    } else if (key == 38 || key == 39) {
      phase += 190.0 / rate;
      v = 0.6 * noise.Next() + 0.4 * std::sin(2.0 * Pi * phase);
    } else {
      v = 0.45 * noise.Next();
    }
    mix[first + i] += v * fade * gain;
  }
}

}  // namespace

std::vector<int16_t> RenderTune(const Tune& tune, int sampleRate) {
  const double secondsPerTick = 60.0 / tune.tempo / TicksPerQuarter;
  const size_t total = static_cast<size_t>((tune.Seconds() + 0.5) * sampleRate);
  std::vector<double> mix(total, 0.0);
  Noise noise;
  for (const TuneTrack& track : tune.tracks) {
    const double trackGain = track.volume / 127.0 * 0.3;
    for (const NoteEvent& n : track.notes) {
      const size_t first = static_cast<size_t>(n.start * secondsPerTick * sampleRate);
      const double gain = trackGain * n.velocity / 127.0;
      if (track.voice == Voice::Drums) {
        AddDrum(mix, first, n.key, gain, sampleRate, noise);
        continue;
      }
      const double held = n.length * secondsPerTick * 0.92;
      const double frequency = 440.0 * std::pow(2.0, (n.key - 69) / 12.0);
      const size_t count = static_cast<size_t>((held + Release) * sampleRate);
      for (size_t i = 0; i < count && first + i < total; ++i) {
        const double t = double(i) / sampleRate;
        mix[first + i] += Wave(track.voice, frequency * t) * Envelope(t, held) * gain;
      }
    }
  }
  double peak = 1e-9;
  for (double v : mix) peak = std::max(peak, std::abs(v));
  const double scale = std::min(1.0, 0.85 / peak) * 32767.0;
  std::vector<int16_t> out(total);
  for (size_t i = 0; i < total; ++i) out[i] = static_cast<int16_t>(std::lround(mix[i] * scale));
  return out;
}
