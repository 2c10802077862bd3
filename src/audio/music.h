#pragma once
// MIDI pieces played at random during a game, and the opening song after start-up.
#include <array>
#include <functional>
#include <set>
#include <string>

#include "platform/audio_door.h"

struct MusicSlot {
  int piece = -1;  // the output's piece, or -1 when the slot is empty
  int index = 0;
  int state = 0;   // 0 empty, 1 loaded, 2 playing, 3 stopped
};

class Music {
 public:
  static constexpr int SlotCount = 64;
  static constexpr int NoSlot = -1;

  explicit Music(AudioDoor& door);

  // Start-up step: loads Music/MIDIFILE00.MID, 01, ... up to the first missing number.
  // Returns the text of an error that must be reported (the music system failed once a
  // file was found); empty otherwise.
  std::string LoadMusic(const std::function<void()>& processMessages);
  // Loads one MIDI file into the lowest empty slot; the slot, or NoSlot.
  int LoadSegment(const std::string& path);
  // At every game start: music plays when the option is on and there are pieces; the
  // synthesiser gets ready then, so nothing waits for it in the middle of a game.
  void StartOfGame(bool musicOption);
  // Once per pass of the main loop: a random piece when none plays. A piece that failed
  // to start is reported once and not picked again in this game.
  void KeepMusicPlaying(const std::function<int(int)>& random);
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
  // A game's start ends the song for good: it is not played again in this run, so its
  // bytes and decoder go.
  void EndOpeningSong();
  bool OpeningSongPlaying() { return song_ >= 0 && output().Playing(song_); }

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
  MusicOutput& output() { return door_.Music(); }

  AudioDoor& door_;
  std::array<MusicSlot, SlotCount> slots_;
  int current_ = NoSlot;
  int song_ = -1;
  // Numbers that failed to start in this game.
  std::set<int> failed_;
};
