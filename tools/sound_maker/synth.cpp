#include "sound_maker/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Softens the jump of a square or saw edge so high notes do not alias into hiss.
double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

double Envelope(const Voice& v, double t) {
  double level = v.sustain;
  if (t < v.attack) {
    level = t / v.attack;
  } else if (t < v.attack + v.decay) {
    const double u = 1.0 - (t - v.attack) / v.decay;
    level = v.sustain + (1.0 - v.sustain) * u * u;
  }
  const double left = v.length - t;
  if (v.release > 0 && left < v.release) level *= std::max(0.0, left / v.release);
  return level;
}

double Frequency(const Voice& v, double t, double pitch) {
  double f = v.from * std::pow(v.to / v.from, std::clamp(t / v.length, 0.0, 1.0));
  if (!v.steps.empty()) {
    const size_t i = std::min(v.steps.size() - 1, static_cast<size_t>(t / v.step));
    f *= std::pow(2.0, v.steps[i] / 12.0);
  }
  if (v.vibrato > 0)
    f *= std::pow(2.0, v.depth * std::sin(2 * std::numbers::pi * v.vibrato * t) / 12.0);
  return std::min(f * pitch, SynthRate * 0.45);
}

void AddVoice(const Voice& v, double pitch, uint32_t seed, std::vector<double>& mix) {
  const size_t first = static_cast<size_t>(std::lround(v.at * SynthRate));
  const size_t count = static_cast<size_t>(std::lround(v.length * SynthRate));
  double phase = 0, held = 0, filtered = 0;
  uint32_t noise = seed;
  const double smoothing =
      v.lowpass > 0 ? 1.0 - std::exp(-2 * std::numbers::pi * v.lowpass / SynthRate) : 1.0;
  for (size_t i = 0; i < count && first + i < mix.size(); ++i) {
    const double t = static_cast<double>(i) / SynthRate;
    const double dt = Frequency(v, t, pitch) / SynthRate;
    double x = 0;
    switch (v.wave) {
      case Waveform::Sine:
        x = std::sin(2 * std::numbers::pi * phase);
        break;
      case Waveform::Saw:
        x = 2 * phase - 1 - PolyBlep(phase, dt);
        break;
      case Waveform::Square: {
        x = phase < v.duty ? 1.0 : -1.0;
        x += PolyBlep(phase, dt);
        x -= PolyBlep(std::fmod(phase + 1.0 - v.duty, 1.0), dt);
        break;
      }
      case Waveform::Noise:
        x = held;
        break;
    }
    phase += dt;
    if (phase >= 1.0) {
      phase -= 1.0;
      noise = noise * 1664525u + 1013904223u;  // fixed seed: the same file every build
      held = static_cast<double>(noise >> 8) / 8388608.0 - 1.0;
    }
    filtered += smoothing * (x - filtered);
    mix[first + i] += filtered * v.volume * Envelope(v, t);
  }
}

}  // namespace

std::vector<int16_t> RenderSound(const SoundRecipe& recipe) {
  double end = 0;
  for (const Voice& v : recipe.voices) end = std::max(end, v.at + v.length);
  std::vector<double> mix(static_cast<size_t>(std::ceil((end + 0.01) * SynthRate)), 0.0);
  uint32_t seed = 2166136261u;
  for (char c : recipe.name) seed = (seed ^ static_cast<uint8_t>(c)) * 16777619u;
  for (size_t i = 0; i < recipe.voices.size(); ++i)
    AddVoice(recipe.voices[i], recipe.pitch, seed + static_cast<uint32_t>(i) * 7919u, mix);

  double peak = 0;
  for (double x : mix) peak = std::max(peak, std::abs(x));
  const double gain = peak > SynthPeak ? SynthPeak / peak : 1.0;
  std::vector<int16_t> samples(mix.size());
  for (size_t i = 0; i < mix.size(); ++i)
    samples[i] = static_cast<int16_t>(std::lround(std::clamp(mix[i] * gain, -1.0, 1.0) * 32767));
  return samples;
}
