#pragma once
// Renders a standard MIDI file through libfluidsynth, set up exactly as the game's
// synthesiser (platform/midi_synth_settings.h), from its start until its player ends.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Interleaved stereo at MidiSynth::SampleRate; false with a reason.
bool RenderMidi(std::span<const uint8_t> midi, std::vector<float>& stereo, std::string& error);
