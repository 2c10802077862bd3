#include "audio/sound_effects.h"

#include "audio/volume_rule.h"
#include "audio/wave_file.h"

namespace {

const char* const FileNames[SoundNumberCount] = {
    "S00-P1-BulletShoot.wav",      "S01-P1-GrabHealth.wav",        "S02-P1-GrabMoney.wav",
    "S03-P1-GrabKey.wav",          "S04-P1-GrabBomb.wav",          "S05-P1-LoseLife.wav",
    "S06-P1-Die.wav",              "S07-P1-OpenDoor.wav",          "S08-P1-BulletHit-Heart.wav",
    "S09-P1-WarpToNextLevel.wav",  "S10-P1-UseHealth.wav",         "S11-P1-BombExplode.wav",
    "S12-P1-EatPigProducer.wav",   nullptr,                        nullptr,
    nullptr,                       nullptr,                        nullptr,
    nullptr,                       nullptr,                        "S20-P2-BulletShoot.wav",
    "S21-P2-GrabHealth.wav",       "S22-P2-GrabMoney.wav",         "S23-P2-GrabKey.wav",
    "S24-P2-GrabBomb.wav",         "S25-P2-LoseLife.wav",          "S26-P2-Die.wav",
    "S27-P2-OpenDoor.wav",         "S28-P2-BulletHit-Heart.wav",   "S29-P2-WarpToNextLevel.wav",
    "S30-P2-UseHealth.wav",        "S31-P2-BombExplode.wav",       "S32-P2-EatPigProducer.wav",
};

}  // namespace

const char* SoundFileName(int soundNumber) {
  if (soundNumber < 0 || soundNumber >= SoundNumberCount) return nullptr;
  return FileNames[soundNumber];
}

SoundEffects::SoundEffects(AudioDoor& door) : door_(door) {
  table_.fill(NoSlot);
  for (int i = 0; i < SlotCount; ++i) slots_[static_cast<size_t>(i)].index = i;
}

bool SoundEffects::CreateSoundDevice(std::string& error) {
  const bool ok = door_.Open(error);
  for (int i = 0; i < SlotCount; ++i) slots_[static_cast<size_t>(i)] = SoundSlot{-1, false, 0, 0, i};
  return ok;
}

int SoundEffects::LoadWave(const std::string& path) {
  const int slot = LowestFreeSlot();
  if (slot == NoSlot) return NoSlot;
  WaveData wave;
  std::string error;
  if (!ReadWaveFile(path, wave, error)) return NoSlot;
  SoundSlot& s = slots_[static_cast<size_t>(slot)];
  s.inUse = true;
  s.sampleRate = static_cast<int>(wave.format.samplesPerSec);
  s.size = static_cast<int>(wave.samples.size());
  // A buffer that cannot be made leaves the slot taken but silent.
  const PcmFormat format{wave.format.channels, static_cast<int>(wave.format.samplesPerSec),
                         wave.format.bitsPerSample};
  const int buffer = door_.Sounds().MakeSound(format, wave.samples, error);
  if (buffer < 0) return NoSlot;
  s.buffer = buffer;
  return slot;
}

int SoundEffects::LowestFreeSlot() const {
  for (int i = 0; i < SlotCount; ++i)
    if (!slots_[static_cast<size_t>(i)].inUse) return i;
  return NoSlot;
}

std::string SoundEffects::LoadSounds(const std::string& startDirectory) {
  std::string deviceError;
  const bool deviceOk = CreateSoundDevice(deviceError);
  table_.fill(NoSlot);
  for (int n = 0; n < SoundNumberCount; ++n) {
    const char* name = FileNames[n];
    if (!name) continue;
    const int lowestFree = LowestFreeSlot();
    const int slot = LoadWave(startDirectory + "Sounds/" + name);
    table_[static_cast<size_t>(n)] = slot;
    // Without a device the failure shows only once a wave file has been read.
    const bool waveRead = lowestFree != NoSlot && slots_[static_cast<size_t>(lowestFree)].inUse;
    if (!deviceOk && waveRead) {
      SoundEnabled = false;
      return deviceError.empty() ? "The sound device could not be opened." : deviceError;
    }
  }
  SoundEnabled = true;
  return {};
}

int SoundEffects::SlotOf(int soundNumber) const {
  if (soundNumber < 0 || soundNumber >= SoundNumberCount) return NoSlot;
  return table_[static_cast<size_t>(soundNumber)];
}

bool SoundEffects::SetSlotVolume(int slot, int level) {
  if (!ValidSlot(slot)) return false;
  slots_[static_cast<size_t>(slot)].gain = VolumeGain(level);
  return true;
}

bool SoundEffects::PlaySlot(int slot) {
  if (!ValidSlot(slot)) return false;
  const SoundSlot& s = slots_[static_cast<size_t>(slot)];
  if (s.buffer < 0) return true;
  return door_.Sounds().Start(s.buffer, slot, s.gain);
}

void SoundEffects::PlaySound(int soundNumber) {
  if (!SoundEnabled) return;
  const int slot = SlotOf(soundNumber);
  if (slot == NoSlot || slots_[static_cast<size_t>(slot)].buffer < 0) return;
  // A failed start is not the game's concern.
  SetSlotVolume(slot, 100);
  PlaySlot(slot);
}
