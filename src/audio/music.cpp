#include "audio/music.h"

#include <cstdio>

#include "audio/midi_file_check.h"
#include "base/files.h"

Music::Music(AudioDoor& door) : door_(door) {
  for (int i = 0; i < SlotCount; ++i) slots_[static_cast<size_t>(i)].index = i;
}

bool Music::CreateMusicSystem(std::string& error) { return door_.Open(error); }

int Music::LoadSegment(const std::string& path) {
  int free = NoSlot;
  for (int i = 0; i < SlotCount && free == NoSlot; ++i)
    if (slots_[static_cast<size_t>(i)].piece < 0) free = i;
  if (free == NoSlot) return NoSlot;
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(path, bytes, error) || !CheckMidiFile(bytes, error)) return NoSlot;
  const int piece = output().Load(bytes, error);
  if (piece < 0) return NoSlot;
  MusicSlot& slot = slots_[static_cast<size_t>(free)];
  slot.piece = piece;
  slot.state = 1;
  return free;
}

std::string Music::LoadMusic(const std::function<void()>& processMessages) {
  std::string error;
  // The pieces need the synthesiser as well as the device.
  const bool systemReady = CreateMusicSystem(error) && output().MidiAvailable(error);
  int found = 0;
  for (;; ++found) {
    if (processMessages) processMessages();
    char path[64];
    std::snprintf(path, sizeof path, "Music/MIDIFILE%02d.MID", found);
    if (!FileExists(path)) break;
    // Without a music system the first existing file is already an error.
    if (!systemReady) {
      MusicEnabled = false;
      return error.empty() ? "The music system could not be started." : error;
    }
    LoadSegment(path);
  }
  MusicCount = found;
  if (MusicCount >= 1) MusicEnabled = true;
  return {};
}

bool Music::StartSlot(int slot) {
  if (!ValidSlot(slot)) return false;
  MusicSlot& s = slots_[static_cast<size_t>(slot)];
  if (s.piece < 0 || s.state == 0) return false;
  if (current_ != NoSlot) StopSlot(current_);
  std::string error;
  if (!output().Play(s.piece, error)) return false;
  s.state = 2;
  current_ = slot;
  return true;
}

bool Music::StopSlot(int slot) {
  if (!ValidSlot(slot)) return false;
  MusicSlot& s = slots_[static_cast<size_t>(slot)];
  if (s.piece < 0 || s.state == 0) return false;
  output().Stop(s.piece);
  s.state = 3;
  current_ = NoSlot;
  return true;
}

int Music::QuerySlot(int slot) {
  if (!ValidSlot(slot)) return 0;
  MusicSlot& s = slots_[static_cast<size_t>(slot)];
  if (s.piece < 0 || s.state == 0) return 0;
  s.state = output().Playing(s.piece) ? 2 : 3;
  return s.state;
}

void Music::StartOfGame(bool musicOption) {
  MusicEnabled = musicOption && MusicCount >= 1;
  failed_.clear();
  if (MusicEnabled) output().PrepareMidi();
}

void Music::KeepMusicPlaying(const std::function<int(int)>& random) {
  if (AnyMusicPlaying()) return;
  if (failed_.empty()) {
    PlayMusic(MusicCount > 0 ? random(MusicCount) : 0);
    return;
  }
  std::vector<int> candidates;
  for (int n = 0; n < MusicCount; ++n)
    if (!failed_.contains(n)) candidates.push_back(n);
  if (candidates.empty()) return;
  PlayMusic(candidates[static_cast<size_t>(random(static_cast<int>(candidates.size())))]);
}

void Music::PlayMusic(int number) {
  if (!MusicEnabled || StartSlot(number)) return;
  // One box per piece and game: a damaged piece must not ask on every pass.
  if (failed_.insert(number).second && ShowError)
    ShowError("Error playing MIDI music file # " + std::to_string(number));
}

bool Music::AnyMusicPlaying() {
  for (int i = 0; i < MusicCount && i < SlotCount; ++i)
    if (QuerySlot(i) == 2) return true;
  return false;
}

void Music::StopAllMusic() {
  for (int i = 0; i < MusicCount && i < SlotCount; ++i) StopSlot(i);
}

void Music::UnloadMusic() {
  for (MusicSlot& s : slots_) {
    if (s.piece < 0) continue;
    output().Free(s.piece);
    s.piece = -1;
    s.state = 0;
  }
  current_ = NoSlot;
}

void Music::ShutDownMusic() {
  StopAllMusic();
  UnloadMusic();
  if (song_ >= 0) output().Free(song_);
  song_ = -1;
  OpeningSongReady = false;
}

std::string Music::PrepareOpeningSong(const std::string& startDirectory) {
  OpeningSongReady = false;
  const std::string path = startDirectory + "Sounds/S99-OpeningSong.mp3";
  // A game directory without the song simply starts quietly.
  if (!FileExists(path)) return {};
  std::string error;
  if (!CreateMusicSystem(error)) return error;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, error)) return error;
  song_ = output().Load(bytes, error);
  if (song_ < 0) return error;
  OpeningSongReady = true;
  return {};
}

void Music::PlayOpeningSong() {
  if (!OpeningSongReady) return;
  StopOpeningSong();
  std::string error;
  output().Play(song_, error);  // from the start, once
}

void Music::StopOpeningSong() {
  if (!OpeningSongReady) return;
  output().Stop(song_);
}

void Music::EndOpeningSong() {
  if (!OpeningSongReady) return;
  output().Free(song_);
  song_ = -1;
  OpeningSongReady = false;
}
