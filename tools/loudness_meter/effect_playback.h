#pragma once
// A wave effect as the game plays it: converted to the mixer's format (stereo at the
// mixer's rate) and played at the game's only effect volume, level 100, which is 0 dB.
#include <vector>

#include "audio/wave_file.h"

// Interleaved stereo samples in -1..1.
std::vector<float> PlayedEffect(const WaveData& wave, int mixerRate);
