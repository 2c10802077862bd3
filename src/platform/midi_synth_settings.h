#pragma once
// How the game's one General MIDI synthesiser is set up. The music tools render and
// level the pieces with these same values, so the loudness they measure is the loudness
// the player hears: change a value here and the pieces are levelled again at the next build.
// Plain constants, free of SDL and of the synthesiser's own headers.

namespace MidiSynth {

// Debian's timgm6mb-soundfont.
inline constexpr const char* SoundFontPath = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// The synthesiser renders straight into the mixer's output, so it runs at the mixer's
// rate and channel count (Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 512)).
inline constexpr int SampleRate = 22050;
inline constexpr int OutputChannels = 2;

// Master gain (fluidsynth's synth.gain; its own default of 0.2 leaves General MIDI
// pieces some 15 dB under the sound effects). The pieces' channel volumes are levelled
// against this value.
inline constexpr double Gain = 1.0;

// Voices sounding at once. Every voice costs synthesis time on the audio thread; past
// this many, the quietest fading tails give way (in the densest piece what they carried
// lies some 60 dB under the music).
inline constexpr int Polyphony = 64;

// Room reverb on, sent per channel by each piece's controller 91; chorus off: it costs
// time in every mixer callback and the thin sound font gains little from it.
inline constexpr bool ReverbOn = true;
inline constexpr double ReverbRoomSize = 0.45;
inline constexpr double ReverbDamping = 0.4;
inline constexpr double ReverbWidth = 0.8;
inline constexpr double ReverbLevel = 0.7;
inline constexpr bool ChorusOn = false;

}  // namespace MidiSynth
