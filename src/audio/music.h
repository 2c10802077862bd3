#pragma once
// MIDI pieces played at random during a game, and the opening song after start-up.
#include <functional>
#include <string>

class Music {
 public:
  // Start-up step: counts Music/MIDIFILE00.MID, 01, ... up to the first gap.
  void LoadMusic(const std::function<void()>& processMessages);
  void PlayMusic(int number);
  bool AnyMusicPlaying();
  void StopAllMusic();
  void UnloadMusic();
  void ShutDownMusic();

  void PrepareOpeningSong(const std::string& startDirectory);
  void PlayOpeningSong();
  void StopOpeningSong();

  bool MusicEnabled = false;
  bool OpeningSongReady = false;
  int MusicCount = 0;
};
