#pragma once
// The audio door over SDL_mixer: the mixer is opened once, on the first Open, and
// carries the wave effects on channels and the music beside them. SDL_mixer's library is
// opened then too, the synthesiser's when MIDI music is first wanted.
#include <memory>
#include <string>

#include "platform/audio_door.h"
#include "platform/sdl_music_output.h"
#include "platform/sdl_sound_output.h"
#include "platform/sound_libraries.h"

class SdlAudioDoor final : public AudioDoor {
 public:
  explicit SdlAudioDoor(SoundLibraryNames libraries = {});
  SdlAudioDoor(const SdlAudioDoor&) = delete;
  SdlAudioDoor& operator=(const SdlAudioDoor&) = delete;
  ~SdlAudioDoor() override;

  bool Open(std::string& error) override;
  // Maps the mixer's library and what it pulls in.
  void LoadAhead() override;
  bool IsOpen() const { return open_; }
  SoundOutput& Sounds() override { return sounds_; }
  MusicOutput& Music() override { return music_; }
  // The MIDI synthesiser has read its sound font (only once music is wanted).
  bool MidiReady() const { return music_.MidiReady(); }

 private:
  bool OpenMixer(std::string& error);

  bool tried_ = false;
  bool open_ = false;
  std::string openError_;
  std::string mixerLibrary_;
  const MixerLibrary* mixer_ = nullptr;
  SdlSoundOutput sounds_;
  SdlMusicOutput music_;
};
