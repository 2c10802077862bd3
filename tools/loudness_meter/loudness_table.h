#pragma once
// Measures everything a game directory plays: each MIDI piece rendered through the
// game's synthesiser, the opening song decoded, each wave effect as the game plays it.
#include <string>
#include <vector>

#include "music_maker/loudness.h"

struct LoudnessRow {
  std::string name;  // the file name
  Loudness loudness;
  LoudnessTarget target;
  std::string error;  // set when the file could not be measured
  bool Ok() const { return error.empty() && target.Met(loudness); }
};

// With `wavDir` set, each also writes what it measured there as wave files, for
// listening or for pictures.
std::vector<LoudnessRow> MeasurePieces(const std::string& gameDir, const std::string& wavDir = "");
LoudnessRow MeasureOpeningSong(const std::string& gameDir, const std::string& wavDir = "");
std::vector<LoudnessRow> MeasureEffects(const std::string& gameDir, const std::string& wavDir = "");
// All three, in that order.
std::vector<LoudnessRow> MeasureGameDirectory(const std::string& gameDir, const std::string& wavDir);
std::string FormatLoudnessTable(const std::vector<LoudnessRow>& rows);
