#include "platform/sdl_audio_door.h"

#include <SDL.h>
#include <SDL_mixer.h>

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

SdlAudioDoor::SdlAudioDoor() : sounds_(EffectsGain), music_(SongGain, SynthesiserGain) {}

SdlAudioDoor::~SdlAudioDoor() {
  if (!open_) return;
  music_.Detach();
  sounds_.Detach();
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioDoor::Open(std::string& error) {
  if (tried_) {
    error = openError_;
    return open_;
  }
  tried_ = true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    openError_ = SDL_GetError();
  } else if (Mix_OpenAudio(MidiSynth::SampleRate, AUDIO_S16SYS, MidiSynth::OutputChannels,
                           MixerBufferFrames) != 0) {
    openError_ = Mix_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  } else {
    open_ = true;
  }
  if (!open_) {
    // A player who starts the game from a terminal learns why it is silent.
    std::fprintf(stderr, "TROK Mirel: no sound device, playing without sound and music (SDL: %s)\n",
                 openError_.c_str());
    error = openError_;
    return false;
  }
  Mix_Init(MIX_INIT_MP3);
  sounds_.Attach();
  music_.Attach();
  return true;
}
