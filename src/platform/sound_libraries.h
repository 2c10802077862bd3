#pragma once
// SDL_mixer and the MIDI synthesiser are opened when first wanted instead of linked, so
// the program starts without mapping them and the dozens of libraries they pull in, and
// a machine without them plays silently. Their headers give the functions' types only.
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <string>

#define TROK_MIXER_FUNCTIONS(X)                                                              \
  X(Mix_OpenAudio) X(Mix_CloseAudio) X(Mix_Init) X(Mix_Quit) X(Mix_QuerySpec)               \
  X(Mix_AllocateChannels) X(Mix_QuickLoad_RAW) X(Mix_FreeChunk) X(Mix_Volume)               \
  X(Mix_PlayChannel) X(Mix_HaltChannel) X(Mix_Playing) X(Mix_LoadMUSType_RW) X(Mix_FreeMusic) \
  X(Mix_PlayMusic) X(Mix_HaltMusic) X(Mix_PlayingMusic) X(Mix_VolumeMusic) X(Mix_HookMusic)

#define TROK_SYNTH_FUNCTIONS(X)                                                               \
  X(fluid_set_log_function) X(new_fluid_settings) X(delete_fluid_settings)                    \
  X(fluid_settings_setnum) X(fluid_settings_setint) X(new_fluid_synth) X(delete_fluid_synth)  \
  X(fluid_synth_sfload) X(fluid_synth_all_sounds_off) X(fluid_synth_write_s16)                \
  X(new_fluid_player) X(delete_fluid_player) X(fluid_player_add_mem) X(fluid_player_play)     \
  X(fluid_player_stop) X(fluid_player_get_status)

#define TROK_LIBRARY_FUNCTION(name) decltype(&::name) name = nullptr;

// The library's functions under their own names: mixer.Mix_OpenAudio(...).
struct MixerLibrary {
  TROK_MIXER_FUNCTIONS(TROK_LIBRARY_FUNCTION)
};
struct SynthLibrary {
  TROK_SYNTH_FUNCTIONS(TROK_LIBRARY_FUNCTION)
};

#undef TROK_LIBRARY_FUNCTION

// The files opened; the installed ones unless a test names others.
struct SoundLibraryNames {
  std::string mixer = "libSDL2_mixer-2.0.so.0";
  std::string synth = "libfluidsynth.so.3";
};

// Opens the file on the first call for its name and resolves every function; later
// calls give the first answer. Null, with the reason, when the file or a function is
// missing. A library once opened stays until the program ends. Safe from any thread.
const MixerLibrary* OpenMixerLibrary(const std::string& file, std::string& error);
const SynthLibrary* OpenSynthLibrary(const std::string& file, std::string& error);
