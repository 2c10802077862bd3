#pragma once
// A small chiptune synthesiser: each tune track sounds with its own simple waveform
// under an attack-decay-sustain-release envelope; drums are shaped noise and sweeps.
#include <cstdint>
#include <vector>

#include "music_maker/note_list.h"

// Mono 16-bit samples of the whole tune, peak-normalised, with the last notes' tails.
std::vector<int16_t> RenderTune(const Tune& tune, int sampleRate);
