#pragma once
// Wave sound effects, addressed by number: n for player 1, n + 20 for player 2.
#include <string>

class SoundEffects {
 public:
  // Start-up step: prepares the device and loads the wave files of Sounds/.
  void LoadSounds(const std::string& startDirectory);
  // Plays the sound of that number when sound is on and the number has a slot.
  void PlaySound(int soundNumber);

  bool SoundEnabled = false;
};
