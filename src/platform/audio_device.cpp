#include "platform/audio_device.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstring>

struct AudioDevice::Sound {
  std::vector<uint8_t> data;  // in the device's format; the chunk points into it
  Mix_Chunk* chunk = nullptr;
  ~Sound() {
    if (chunk) Mix_FreeChunk(chunk);
  }
};

bool OpenMixer(std::string& error) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error = SDL_GetError();
    return false;
  }
  // Small buffers keep the shots in step with the picture.
  if (Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 512) != 0) {
    error = Mix_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  return true;
}

void CloseMixer() {
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

AudioDevice::AudioDevice() = default;
AudioDevice::~AudioDevice() { Close(); }

bool AudioDevice::Open(int channels, std::string& error) {
  if (open_) return true;
  if (!OpenMixer(error)) return false;
  channels_ = Mix_AllocateChannels(channels);
  open_ = true;
  return true;
}

int AudioDevice::MakeSound(const PcmFormat& format, std::span<const uint8_t> pcm,
                           std::string& error) {
  if (!open_) {
    error = "the sound device is not open";
    return -1;
  }
  int deviceRate = 0, deviceChannels = 0;
  Uint16 deviceFormat = 0;
  if (Mix_QuerySpec(&deviceRate, &deviceFormat, &deviceChannels) == 0) {
    error = Mix_GetError();
    return -1;
  }
  const SDL_AudioFormat from = format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, from, static_cast<Uint8>(format.channels), format.sampleRate,
                        deviceFormat, static_cast<Uint8>(deviceChannels), deviceRate) < 0) {
    error = SDL_GetError();
    return -1;
  }
  auto sound = std::make_unique<Sound>();
  const size_t frameBytes = static_cast<size_t>(format.channels * format.bitsPerSample / 8);
  const size_t length = pcm.size() - pcm.size() % frameBytes;
  sound->data.assign(length * static_cast<size_t>(cvt.len_mult) + 16, 0);
  std::memcpy(sound->data.data(), pcm.data(), length);
  cvt.len = static_cast<int>(length);
  cvt.buf = sound->data.data();
  if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) {
    error = SDL_GetError();
    return -1;
  }
  const size_t converted = cvt.needed ? static_cast<size_t>(cvt.len_cvt) : length;
  sound->chunk = Mix_QuickLoad_RAW(sound->data.data(), static_cast<Uint32>(converted));
  if (!sound->chunk) {
    error = Mix_GetError();
    return -1;
  }
  sounds_.push_back(std::move(sound));
  return static_cast<int>(sounds_.size()) - 1;
}

bool AudioDevice::Play(int sound, int channel, int volume) {
  if (!open_ || sound < 0 || sound >= static_cast<int>(sounds_.size()) || channel < 0 ||
      channel >= channels_)
    return false;
  // 30 × level − 3000 hundredths of a decibel, as a linear mixer volume.
  const double decibels = (30.0 * std::clamp(volume, 0, 100) - 3000.0) / 100.0;
  const int mixVolume = static_cast<int>(std::lround(MIX_MAX_VOLUME * std::pow(10.0, decibels / 20.0)));
  Mix_HaltChannel(channel);
  Mix_Volume(channel, mixVolume);
  return Mix_PlayChannel(channel, sounds_[static_cast<size_t>(sound)]->chunk, 0) == channel;
}

bool AudioDevice::Playing(int channel) const {
  return open_ && channel >= 0 && channel < channels_ && Mix_Playing(channel) != 0;
}

void AudioDevice::Close() {
  if (!open_) return;
  Mix_HaltChannel(-1);
  sounds_.clear();
  CloseMixer();
  open_ = false;
}
