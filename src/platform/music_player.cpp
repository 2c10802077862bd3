#include "platform/music_player.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "platform/audio_device.h"
#include "base/files.h"
#include "base/midi_header.h"

namespace {
const char* const GeneralMidiFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// The MIDI synthesiser accepts any bytes and merely stays silent, so a damaged piece
// would count as loaded; check for the standard MIDI file header first.
bool LooksLikeBadMidi(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ext = path.substr(path.size() - 4);
  for (char& c : ext) c = static_cast<char>(SDL_tolower(c));
  if (ext != ".mid") return false;
  std::vector<uint8_t> start;
  std::string error;
  return !ReadFileStart(path, MidiHeaderBytes, start, error) || !IsStandardMidiHeader(start);
}
}  // namespace

struct MusicPlayer::Piece {
  Mix_Music* music = nullptr;
  ~Piece() {
    if (music) Mix_FreeMusic(music);
  }
};

MusicPlayer::MusicPlayer() = default;
MusicPlayer::~MusicPlayer() { Close(); }

bool MusicPlayer::Open(std::string& error) {
  if (open_) return true;
  if (!OpenMixer(error)) return false;
  Mix_Init(MIX_INIT_MID | MIX_INIT_MP3);
  if (FileExists(GeneralMidiFont)) Mix_SetSoundFonts(GeneralMidiFont);
  open_ = true;
  return true;
}

int MusicPlayer::Load(const std::string& path, std::string& error) {
  if (!open_) {
    error = "the music system is not open";
    return -1;
  }
  if (LooksLikeBadMidi(path)) {
    error = path + " is not a standard MIDI file";
    return -1;
  }
  auto piece = std::make_unique<Piece>();
  piece->music = Mix_LoadMUS(path.c_str());
  if (!piece->music) {
    error = Mix_GetError();
    return -1;
  }
  for (size_t i = 0; i < pieces_.size(); ++i)
    if (!pieces_[i]) {
      pieces_[i] = std::move(piece);
      return static_cast<int>(i);
    }
  pieces_.push_back(std::move(piece));
  return static_cast<int>(pieces_.size()) - 1;
}

bool MusicPlayer::Play(int id, std::string& error) {
  if (!open_ || id < 0 || id >= static_cast<int>(pieces_.size()) || !pieces_[static_cast<size_t>(id)]) {
    error = "no such piece";
    return false;
  }
  Mix_HaltMusic();
  if (Mix_PlayMusic(pieces_[static_cast<size_t>(id)]->music, 0) != 0) {
    error = Mix_GetError();
    current_ = -1;
    return false;
  }
  current_ = id;
  return true;
}

bool MusicPlayer::Playing(int id) const {
  return open_ && id >= 0 && id == current_ && Mix_PlayingMusic() != 0;
}

void MusicPlayer::Stop(int id) {
  if (!open_ || id < 0 || id != current_) return;
  Mix_HaltMusic();
  current_ = -1;
}

void MusicPlayer::Free(int id) {
  if (id < 0 || id >= static_cast<int>(pieces_.size())) return;
  if (id == current_) Stop(id);
  pieces_[static_cast<size_t>(id)].reset();
}

void MusicPlayer::Close() {
  if (!open_) return;
  Mix_HaltMusic();
  current_ = -1;
  pieces_.clear();
  CloseMixer();
  open_ = false;
}
