#include "platform/sdl_sound_output.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>

struct SdlSoundOutput::Sound {
  const MixerLibrary* mixer = nullptr;
  std::vector<uint8_t> data;  // in the mixer's format; the chunk points into it
  Mix_Chunk* chunk = nullptr;
  ~Sound() {
    if (chunk) mixer->Mix_FreeChunk(chunk);
  }
};

SdlSoundOutput::SdlSoundOutput(double busGain) : busGain_(busGain) {}
SdlSoundOutput::~SdlSoundOutput() { Detach(); }

void SdlSoundOutput::Attach(const MixerLibrary& mixer) {
  mixer_ = &mixer;
  if (mixer.Mix_AllocateChannels(ChannelCount) == ChannelCount) attached_ = true;
}

void SdlSoundOutput::Detach() {
  if (!attached_) return;
  mixer_->Mix_HaltChannel(-1);
  sounds_.clear();
  attached_ = false;
}

int SdlSoundOutput::MakeSound(const PcmFormat& format, std::span<const uint8_t> pcm,
                              std::string& error) {
  if (!attached_) {
    error = "the sound device is not open";
    return -1;
  }
  int deviceRate = 0, deviceChannels = 0;
  Uint16 deviceFormat = 0;
  if (mixer_->Mix_QuerySpec(&deviceRate, &deviceFormat, &deviceChannels) == 0) {
    error = SDL_GetError();
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
  sound->mixer = mixer_;
  const size_t frameBytes = static_cast<size_t>(format.channels * format.bitsPerSample / 8);
  const size_t length = frameBytes ? pcm.size() - pcm.size() % frameBytes : 0;
  sound->data.assign(length * static_cast<size_t>(cvt.len_mult) + 16, 0);
  std::memcpy(sound->data.data(), pcm.data(), length);
  cvt.len = static_cast<int>(length);
  cvt.buf = sound->data.data();
  if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) {
    error = SDL_GetError();
    return -1;
  }
  const size_t converted = cvt.needed ? static_cast<size_t>(cvt.len_cvt) : length;
  // The conversion works in a buffer several times the result (through 32-bit floats);
  // only the result is kept for the whole run.
  sound->data.resize(converted);
  sound->data.shrink_to_fit();
  sound->chunk = mixer_->Mix_QuickLoad_RAW(sound->data.data(), static_cast<Uint32>(converted));
  if (!sound->chunk) {
    error = SDL_GetError();
    return -1;
  }
  sounds_.push_back(std::move(sound));
  return static_cast<int>(sounds_.size()) - 1;
}

bool SdlSoundOutput::Start(int sound, int channel, double gain) {
  if (!attached_ || sound < 0 || sound >= static_cast<int>(sounds_.size()) || channel < 0 ||
      channel >= ChannelCount)
    return false;
  const double level = std::clamp(gain * busGain_, 0.0, 1.0);
  mixer_->Mix_HaltChannel(channel);
  mixer_->Mix_Volume(channel, static_cast<int>(std::lround(MIX_MAX_VOLUME * level)));
  return mixer_->Mix_PlayChannel(channel, sounds_[static_cast<size_t>(sound)]->chunk, 0) == channel;
}

size_t SdlSoundOutput::BytesHeld() const {
  size_t bytes = 0;
  for (const auto& sound : sounds_) bytes += sound->data.capacity();
  return bytes;
}

bool SdlSoundOutput::Playing(int channel) const {
  return attached_ && channel >= 0 && channel < ChannelCount && mixer_->Mix_Playing(channel) != 0;
}
