#include "audio/sound_effects.h"

void SoundEffects::LoadSounds(const std::string& /*startDirectory*/) {
  // No wave device yet: every number stays without a slot, which is silent by design.
  SoundEnabled = true;
}

void SoundEffects::PlaySound(int /*soundNumber*/) {}
