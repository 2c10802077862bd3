#pragma once
// The audio door over SDL_mixer: the mixer is opened once, on the first Open, and
// carries the wave effects on channels and the music beside them.
#include <memory>
#include <string>

#include "platform/audio_door.h"
#include "platform/sdl_music_output.h"
#include "platform/sdl_sound_output.h"

class SdlAudioDoor final : public AudioDoor {
 public:
  SdlAudioDoor();
  SdlAudioDoor(const SdlAudioDoor&) = delete;
  SdlAudioDoor& operator=(const SdlAudioDoor&) = delete;
  ~SdlAudioDoor() override;

  bool Open(std::string& error) override;
  bool IsOpen() const { return open_; }
  SoundOutput& Sounds() override { return sounds_; }
  MusicOutput& Music() override { return music_; }
  // The MIDI synthesiser has read its sound font (only once music is wanted).
  bool MidiReady() const { return music_.MidiReady(); }

 private:
  bool tried_ = false;
  bool open_ = false;
  std::string openError_;
  SdlSoundOutput sounds_;
  SdlMusicOutput music_;
};
