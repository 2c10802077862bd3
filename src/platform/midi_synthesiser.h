#pragma once
// The game's one General MIDI synthesiser: the sound font is read once and every piece
// plays through the same synth, one piece at a time, rendered on demand into the
// mixer's output. Render runs on the mixer's thread; everything else on the caller's.
#include <cstdint>
#include <mutex>
#include <span>
#include <string>

#include "platform/sound_libraries.h"

class MidiSynthesiser {
 public:
  // `library` is the synthesiser's shared library, opened on the first Prepare.
  explicit MidiSynthesiser(std::string library) : library_(std::move(library)) {}
  MidiSynthesiser(const MidiSynthesiser&) = delete;
  MidiSynthesiser& operator=(const MidiSynthesiser&) = delete;
  ~MidiSynthesiser();

  // Creates the synthesiser and reads the sound font, on the first call only; later
  // calls give the first answer. `gain` scales the synthesiser's own gain.
  bool Prepare(int sampleRate, double gain, std::string& error);
  // Opens the library without making a synthesiser; false with the reason if it is missing.
  bool LibraryAvailable(std::string& error) const;
  bool Ready() const { return synth_ != nullptr; }
  // Plays a standard MIDI file's bytes from the start, replacing the piece before.
  bool Start(std::span<const uint8_t> piece, std::string& error);
  void Stop();
  // True while a started piece has not reached its end.
  bool Playing() const;
  // Writes `frames` frames into interleaved 16-bit output of `channels` channels (the
  // first two get left and right, any others stay as they are).
  void Render(int16_t* out, int frames, int channels);

 private:
  std::string library_;
  const SynthLibrary* fluid_ = nullptr;  // set by Prepare
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  fluid_player_t* player_ = nullptr;
  // Held while a piece is swapped and while the mixer renders.
  std::mutex mutex_;
  bool prepared_ = false;
  std::string prepareError_;
};
