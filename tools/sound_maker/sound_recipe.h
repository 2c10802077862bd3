#pragma once
// Sound recipes: a few layered voices per sound, written as readable text.
//
//   sound <name>
//     voice <square|saw|sine|noise> key=value ...
//   variant <name> of <sound name> semitones=<n>
//
// Voice keys: at, length (seconds); from, to (Hz, an exponential glide; for noise the
// rate new random values are drawn at); volume (0..1); attack, decay, release (seconds)
// and sustain (0..1) shape the envelope; duty (square); steps=0,4,7 and step (seconds)
// make an arpeggio in semitones; vibrato (Hz) and depth (semitones); lowpass (Hz).
#include <optional>
#include <string>
#include <vector>

enum class Waveform { Square, Saw, Sine, Noise };

struct Voice {
  Waveform wave = Waveform::Square;
  double at = 0, length = 0.1;
  double from = 440, to = 440;
  double volume = 0.5;
  double attack = 0.002, decay = 0, sustain = 1, release = 0.02;
  double duty = 0.5;
  std::vector<double> steps;
  double step = 0.05;
  double vibrato = 0, depth = 0;
  double lowpass = 0;
};

struct SoundRecipe {
  std::string name;  // the file name without ".wav"
  std::vector<Voice> voices;
  double pitch = 1;  // frequency factor, for variants
};

// Parses recipe text; on failure `error` names the line.
std::optional<std::vector<SoundRecipe>> ParseRecipes(const std::string& text, std::string& error);
