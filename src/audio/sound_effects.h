#pragma once
// Wave sound effects, addressed by number: n for player 1, n + 20 for player 2.
#include <array>
#include <string>

#include "platform/audio_door.h"

// Each sound's file in Sounds/, or nullptr for numbers without one.
const char* SoundFileName(int soundNumber);
constexpr int SoundNumberCount = 33;  // 0..12 and 20..32 are used

struct SoundSlot {
  int buffer = -1;  // the output's sound, or -1
  bool inUse = false;
  int sampleRate = 0;
  int size = 0;
  int index = 0;
  double gain = 1.0;  // set by SetSlotVolume
};

class SoundEffects {
 public:
  static constexpr int SlotCount = 256;
  static constexpr int NoSlot = -1;
  static_assert(SlotCount <= SoundOutput::ChannelCount, "each slot plays on its own channel");

  explicit SoundEffects(AudioDoor& door);

  // Start-up step: opens the device and loads the wave files of Sounds/. Returns the
  // text of an error that must be reported (the device failed once a wave was read);
  // empty otherwise. A missing or unreadable file only leaves its number silent.
  std::string LoadSounds(const std::string& startDirectory);
  // Plays the sound of that number when sound is on and the number has a buffer.
  void PlaySound(int soundNumber);

  // Opens the device (once) and clears every slot.
  bool CreateSoundDevice(std::string& error);
  // Reads a wave file into the lowest free slot; the slot, or NoSlot.
  int LoadWave(const std::string& path);
  // Sets the slot's volume for its next start: a level 0..100 (see volume_rule.h).
  bool SetSlotVolume(int slot, int level);
  // Starts the slot's sound from its beginning; a slot without a buffer plays nothing.
  bool PlaySlot(int slot);
  int SlotOf(int soundNumber) const;
  const SoundSlot& Slot(int slot) const { return slots_[static_cast<size_t>(slot)]; }

  bool SoundEnabled = false;

 private:
  int LowestFreeSlot() const;
  bool ValidSlot(int slot) const { return slot >= 0 && slot < SlotCount; }

  AudioDoor& door_;
  std::array<SoundSlot, SlotCount> slots_;
  std::array<int, SoundNumberCount> table_;
};
