#pragma once
// An audio door that opens everywhere and sounds nothing: for runs and tests that must
// not touch a sound device.
#include "platform/audio_door.h"

class NullSoundOutput final : public SoundOutput {
 public:
  int MakeSound(const PcmFormat&, std::span<const uint8_t>, std::string&) override {
    return made_++;
  }
  bool Start(int sound, int channel, double) override {
    return sound >= 0 && sound < made_ && channel >= 0 && channel < ChannelCount;
  }
  bool Playing(int) const override { return false; }

 private:
  int made_ = 0;
};

class NullMusicOutput final : public MusicOutput {
 public:
  int Load(std::span<const uint8_t>, std::string&) override { return loaded_++; }
  bool MidiAvailable(std::string&) override { return true; }
  void PrepareMidi() override {}
  bool Play(int piece, std::string& error) override {
    if (piece >= 0 && piece < loaded_) return true;
    error = "no such piece";
    return false;
  }
  bool Playing(int) override { return false; }
  void Stop(int) override {}
  void Free(int) override {}

 private:
  int loaded_ = 0;
};

class NullAudioDoor final : public AudioDoor {
 public:
  bool Open(std::string&) override { return true; }
  SoundOutput& Sounds() override { return sounds_; }
  MusicOutput& Music() override { return music_; }

 private:
  NullSoundOutput sounds_;
  NullMusicOutput music_;
};
