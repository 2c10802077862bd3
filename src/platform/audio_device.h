#pragma once
// The wave-sound output: one mixer channel per sound so that playing a sound again
// restarts it while different sounds overlap.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

struct PcmFormat {
  int channels = 1;       // 1 or 2
  int sampleRate = 22050;
  int bitsPerSample = 16;  // 8 (unsigned) or 16 (signed little-endian)
};

// The shared mixer: every user opens it with the same format, so later opens only join
// the first; each Open is matched by one Close.
bool OpenMixer(std::string& error);
void CloseMixer();

class AudioDevice {
 public:
  AudioDevice();
  AudioDevice(const AudioDevice&) = delete;
  AudioDevice& operator=(const AudioDevice&) = delete;
  ~AudioDevice();

  // Opens the default output with `channels` mixer channels; false with SDL's reason.
  bool Open(int channels, std::string& error);
  bool IsOpen() const { return open_; }
  // Converts the PCM data to the device's format; returns a sound id, or -1 with a reason.
  int MakeSound(const PcmFormat& format, std::span<const uint8_t> pcm, std::string& error);
  // Starts the sound from its beginning on `channel`, cutting off whatever plays there.
  // `volume` is a level 0..100 (100 full, 0 about 30 dB down).
  bool Play(int sound, int channel, int volume);
  bool Playing(int channel) const;
  void Close();

 private:
  struct Sound;
  bool open_ = false;
  int channels_ = 0;
  std::vector<std::unique_ptr<Sound>> sounds_;
};
