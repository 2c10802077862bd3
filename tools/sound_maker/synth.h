#pragma once
// Renders a sound recipe to 16-bit mono samples.
#include <cstdint>
#include <vector>

#include "sound_maker/sound_recipe.h"

constexpr int SynthRate = 22050;
// The loudest sample a finished sound may reach (about -1.4 dB), so nothing clips.
constexpr double SynthPeak = 0.85;

std::vector<int16_t> RenderSound(const SoundRecipe& recipe);
