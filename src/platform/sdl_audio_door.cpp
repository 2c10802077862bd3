#include "platform/sdl_audio_door.h"

#include <SDL.h>

#include <cstdio>

#include "platform/midi_synth_settings.h"

namespace {

// The mixer adds effects and music and clips the sum, so each source is turned down
// once here, on top of the volume each effect is played at. Effects and the MIDI music
// keep the balance they were made with; with both players shooting, picking up and
// blowing things up over the music, the mix peaks near -4 dBFS (the mix loudness test).
constexpr double EffectsGain = 0.3;
constexpr double SongGain = 0.6;
constexpr double SynthesiserGain = 0.45;

// Small buffers keep the shots in step with the picture.
constexpr int MixerBufferFrames = 512;

}  // namespace

SdlAudioDoor::SdlAudioDoor(SoundLibraryNames libraries)
    : mixerLibrary_(std::move(libraries.mixer)),
      sounds_(EffectsGain),
      music_(SongGain, SynthesiserGain, std::move(libraries.synth)) {}

SdlAudioDoor::~SdlAudioDoor() {
  if (!open_) return;
  music_.Detach();
  sounds_.Detach();
  mixer_->Mix_CloseAudio();
  mixer_->Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioDoor::Open(std::string& error) {
  if (tried_) {
    error = openError_;
    return open_;
  }
  tried_ = true;
  open_ = OpenMixer(openError_);
  if (!open_) {
    // A player who starts the game from a terminal learns why it is silent.
    std::fprintf(stderr, "TROK Mirel: no sound device, playing without sound and music (%s)\n",
                 openError_.c_str());
    error = openError_;
    return false;
  }
  mixer_->Mix_Init(MIX_INIT_MP3);
  sounds_.Attach(*mixer_);
  music_.Attach(*mixer_);
  return true;
}

void SdlAudioDoor::LoadAhead() {
  std::string failure;  // Open finds the same answer and reports it
  OpenMixerLibrary(mixerLibrary_, failure);
}

bool SdlAudioDoor::OpenMixer(std::string& error) {
  // Without the mixer's library the machine counts as one without a sound device.
  mixer_ = OpenMixerLibrary(mixerLibrary_, error);
  if (!mixer_) return false;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error = SDL_GetError();
    return false;
  }
  if (mixer_->Mix_OpenAudio(MidiSynth::SampleRate, AUDIO_S16SYS, MidiSynth::OutputChannels,
                            MixerBufferFrames) != 0) {
    error = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  return true;
}
