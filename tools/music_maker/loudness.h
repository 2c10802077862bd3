#pragma once
// The loudness of rendered sound: its RMS over the whole length and its peak, in
// decibels relative to full scale (dBFS), and the targets the game's sound is made to.
#include <cstdint>
#include <span>

struct Loudness {
  double seconds = 0;
  double rmsDb = -200;   // over every sample of every channel
  double peakDb = -200;  // the largest sample
};

// `samples` interleave `channels` channels; floats run -1..1, 16-bit integers -32768..32767.
Loudness MeasureLoudness(std::span<const float> samples, int channels, int sampleRate);
Loudness MeasureLoudness(std::span<const int16_t> samples, int channels, int sampleRate);

double AmplitudeToDb(double amplitude);
double DbToAmplitude(double decibels);

struct LoudnessTarget {
  double rmsLow, rmsHigh;    // dBFS
  double peakLow, peakHigh;  // dBFS
  bool Met(const Loudness& l) const {
    return l.rmsDb >= rmsLow && l.rmsDb <= rmsHigh && l.peakDb >= peakLow && l.peakDb <= peakHigh;
  }
};

// The pieces all sit at one level, below the effects, with room left on top for the mix.
inline constexpr LoudnessTarget PieceTarget{-20, -16, -200, -3};
// Effects stand out clearly without touching full scale.
inline constexpr LoudnessTarget EffectTarget{-200, 0, -6, -1};
inline constexpr LoudnessTarget OpeningSongTarget{-20, -14, -200, -1};
