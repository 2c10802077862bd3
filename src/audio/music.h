#pragma once
// MIDI pieces played at random during a game, and the opening song after start-up.
#include <array>
#include <functional>
#include <string>

#include "platform/music_player.h"

struct MusicSlot {
  int piece = -1;  // the player's piece, or -1 when the slot is empty
  int index = 0;
  int state = 0;   // 0 empty, 1 loaded, 2 playing, 3 stopped
};

class Music {
 public:
  static constexpr int SlotCount = 64;
  static constexpr int NoSlot = -1;

  Music();

  // Start-up step: loads Music/MIDIFILE00.MID, 01, ... up to the first missing number.
  // Returns the text of an error that must be reported (the music system failed once a
  // file was found); empty otherwise.
  std::string LoadMusic(const std::function<void()>& processMessages);
  // Loads one MIDI file into the lowest empty slot; the slot, or NoSlot.
  int LoadSegment(const std::string& path);
  void PlayMusic(int number);
  bool StartSlot(int slot);
  bool StopSlot(int slot);
  int QuerySlot(int slot);
  bool AnyMusicPlaying();
  void StopAllMusic();
  void UnloadMusic();
  void ShutDownMusic();

  // Opens Sounds/S99-OpeningSong.mp3; returns the text of an error to report, or empty.
  std::string PrepareOpeningSong(const std::string& startDirectory);
  void PlayOpeningSong();
  void StopOpeningSong();
  bool OpeningSongPlaying() const { return player_.Playing(song_); }

  const MusicSlot& Slot(int slot) const { return slots_[static_cast<size_t>(slot)]; }
  int CurrentSlot() const { return current_; }

  // Shows an error box; set by the main window.
  std::function<void(const std::string&)> ShowError;

  bool MusicEnabled = false;
  bool OpeningSongReady = false;
  int MusicCount = 0;

 private:
  bool CreateMusicSystem(std::string& error);
  bool ValidSlot(int slot) const { return slot >= 0 && slot < SlotCount; }

  MusicPlayer player_;
  std::string systemError_;
  std::array<MusicSlot, SlotCount> slots_;
  int current_ = NoSlot;
  int song_ = -1;
};
