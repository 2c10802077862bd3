#include "platform/sdl_music_output.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>

struct SdlMusicOutput::Piece {
  const MixerLibrary* mixer = nullptr;
  bool midi = false;
  std::vector<uint8_t> bytes;
  Mix_Music* song = nullptr;  // streams from `bytes`
  ~Piece() {
    if (song) mixer->Mix_FreeMusic(song);
  }
};

SdlMusicOutput::SdlMusicOutput(double songGain, double synthGain, std::string synthLibrary)
    : songGain_(songGain), synthGain_(synthGain), synth_(std::move(synthLibrary)) {}

SdlMusicOutput::~SdlMusicOutput() { Detach(); }

void SdlMusicOutput::Attach(const MixerLibrary& mixer) {
  mixer_ = &mixer;
  Uint16 format = 0;
  if (mixer_->Mix_QuerySpec(&rate_, &format, &channels_) == 0) return;
  // The synthesiser writes 16-bit samples straight into the mixer's buffer.
  if (format != AUDIO_S16SYS) channels_ = 0;
  mixer_->Mix_VolumeMusic(static_cast<int>(std::lround(MIX_MAX_VOLUME * std::clamp(songGain_, 0.0, 1.0))));
  attached_ = true;
}

void SdlMusicOutput::Detach() {
  if (!attached_) return;
  StopMidi();
  mixer_->Mix_HaltMusic();
  current_ = -1;
  pieces_.clear();
  attached_ = false;
}

int SdlMusicOutput::Load(std::span<const uint8_t> bytes, std::string& error) {
  if (!attached_) {
    error = "the music system is not open";
    return -1;
  }
  auto piece = std::make_unique<Piece>();
  piece->mixer = mixer_;
  piece->bytes.assign(bytes.begin(), bytes.end());
  piece->midi = bytes.size() >= 4 && std::memcmp(bytes.data(), "MThd", 4) == 0;
  if (!piece->midi) {
    SDL_RWops* source = SDL_RWFromConstMem(piece->bytes.data(), static_cast<int>(piece->bytes.size()));
    piece->song = source ? mixer_->Mix_LoadMUSType_RW(source, MUS_MP3, 1) : nullptr;
    if (!piece->song) {
      error = SDL_GetError();
      return -1;
    }
  }
  for (size_t i = 0; i < pieces_.size(); ++i)
    if (!pieces_[i]) {
      pieces_[i] = std::move(piece);
      return static_cast<int>(i);
    }
  pieces_.push_back(std::move(piece));
  return static_cast<int>(pieces_.size()) - 1;
}

bool SdlMusicOutput::MidiAvailable(std::string& error) { return synth_.LibraryAvailable(error); }

void SdlMusicOutput::PrepareMidi() {
  std::string ignored;
  PrepareSynthesiser(ignored);
}

bool SdlMusicOutput::PrepareSynthesiser(std::string& error) {
  if (!attached_ || channels_ <= 0) {
    error = "the mixer's output does not suit the MIDI synthesiser";
    return false;
  }
  return synth_.Prepare(rate_, synthGain_, error);
}

SdlMusicOutput::Piece* SdlMusicOutput::Find(int piece) const {
  if (piece < 0 || piece >= static_cast<int>(pieces_.size())) return nullptr;
  return pieces_[static_cast<size_t>(piece)].get();
}

bool SdlMusicOutput::Play(int id, std::string& error) {
  const Piece* piece = attached_ ? Find(id) : nullptr;
  if (!piece) {
    error = "no such piece";
    return false;
  }
  const bool started = piece->midi ? PlayMidi(*piece, error) : PlaySong(*piece, error);
  current_ = started ? id : -1;
  return started;
}

bool SdlMusicOutput::PlayMidi(const Piece& piece, std::string& error) {
  if (!PrepareSynthesiser(error)) return false;
  mixer_->Mix_HaltMusic();
  const bool started = synth_.Start(piece.bytes, error);
  if (started && !hooked_) {
    mixer_->Mix_HookMusic(RenderMidi, this);
    hooked_ = true;
  }
  return started;
}

bool SdlMusicOutput::PlaySong(const Piece& piece, std::string& error) {
  StopMidi();
  mixer_->Mix_HaltMusic();
  if (mixer_->Mix_PlayMusic(piece.song, 0) != 0) {
    error = SDL_GetError();
    return false;
  }
  return true;
}

void SdlMusicOutput::RenderMidi(void* self, uint8_t* stream, int length) {
  auto& output = *static_cast<SdlMusicOutput*>(self);
  const int frameBytes = output.channels_ * 2;
  output.synth_.Render(reinterpret_cast<int16_t*>(stream), length / frameBytes, output.channels_);
}

void SdlMusicOutput::StopMidi() {
  if (hooked_) {
    // The synthesiser idles off the mixer, so a title menu after a game costs nothing.
    mixer_->Mix_HookMusic(nullptr, nullptr);
    hooked_ = false;
  }
  synth_.Stop();
}

bool SdlMusicOutput::Playing(int id) {
  const Piece* piece = id == current_ ? Find(id) : nullptr;
  if (!piece) return false;
  return piece->midi ? synth_.Playing() : mixer_->Mix_PlayingMusic() != 0;
}

void SdlMusicOutput::Stop(int id) {
  const Piece* piece = id == current_ ? Find(id) : nullptr;
  if (!piece) return;
  if (piece->midi)
    StopMidi();
  else
    mixer_->Mix_HaltMusic();
  current_ = -1;
}

void SdlMusicOutput::Free(int id) {
  if (!Find(id)) return;
  Stop(id);
  pieces_[static_cast<size_t>(id)].reset();
}
