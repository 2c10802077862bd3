#pragma once
// Wave effects through SDL_mixer: one mixer channel per channel number.
#include <memory>
#include <vector>

#include "platform/audio_door.h"
#include "platform/sound_libraries.h"

class SdlSoundOutput final : public SoundOutput {
 public:
  // `busGain` scales every effect, so that effects and music summed stay below full scale.
  explicit SdlSoundOutput(double busGain);
  SdlSoundOutput(const SdlSoundOutput&) = delete;
  SdlSoundOutput& operator=(const SdlSoundOutput&) = delete;
  ~SdlSoundOutput() override;

  // Called by the door once the mixer is open, and before it closes.
  void Attach(const MixerLibrary& mixer);
  void Detach();

  int MakeSound(const PcmFormat& format, std::span<const uint8_t> pcm,
                std::string& error) override;
  bool Start(int sound, int channel, double gain) override;
  bool Playing(int channel) const override;
  // The samples of every sound made, in the mixer's format.
  size_t BytesHeld() const;

 private:
  struct Sound;
  double busGain_;
  const MixerLibrary* mixer_ = nullptr;
  bool attached_ = false;
  std::vector<std::unique_ptr<Sound>> sounds_;
};
