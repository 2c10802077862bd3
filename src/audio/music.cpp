#include "audio/music.h"

#include <cstdio>

#include "platform/files.h"

void Music::LoadMusic(const std::function<void()>& processMessages) {
  int n = 0;
  for (;; ++n) {
    if (processMessages) processMessages();
    char path[64];
    std::snprintf(path, sizeof path, "Music/MIDIFILE%02d.MID", n);
    if (!FileExists(path)) break;
  }
  MusicCount = n;
  if (MusicCount >= 1) MusicEnabled = true;
}

// No synthesiser yet: nothing is ever playing, so the main loop simply asks again.
void Music::PlayMusic(int /*number*/) {}
bool Music::AnyMusicPlaying() { return false; }
void Music::StopAllMusic() {}
void Music::UnloadMusic() {}
void Music::ShutDownMusic() {}

void Music::PrepareOpeningSong(const std::string& /*startDirectory*/) { OpeningSongReady = false; }
void Music::PlayOpeningSong() {}
void Music::StopOpeningSong() {}
