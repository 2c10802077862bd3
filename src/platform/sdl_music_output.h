#pragma once
// Music through SDL_mixer: MIDI pieces through our one synthesiser, hooked in as the
// mixer's music, and MP3 songs on the mixer's own music stream. One sounds at a time.
#include <memory>
#include <vector>

#include "platform/audio_door.h"
#include "platform/midi_synthesiser.h"
#include "platform/sound_libraries.h"

class SdlMusicOutput final : public MusicOutput {
 public:
  // The gains scale songs and the synthesiser, set once so that effects and music summed
  // stay below full scale. The synthesiser's library is opened when MIDI is first wanted.
  SdlMusicOutput(double songGain, double synthGain, std::string synthLibrary);
  SdlMusicOutput(const SdlMusicOutput&) = delete;
  SdlMusicOutput& operator=(const SdlMusicOutput&) = delete;
  ~SdlMusicOutput() override;

  // Called by the door once the mixer is open, and before it closes.
  void Attach(const MixerLibrary& mixer);
  void Detach();
  // The synthesiser has read its sound font.
  bool MidiReady() const { return synth_.Ready(); }

  int Load(std::span<const uint8_t> bytes, std::string& error) override;
  bool MidiAvailable(std::string& error) override;
  void PrepareMidi() override;
  bool Play(int piece, std::string& error) override;
  bool Playing(int piece) override;
  void Stop(int piece) override;
  void Free(int piece) override;

 private:
  struct Piece;
  static void RenderMidi(void* self, uint8_t* stream, int length);
  bool PrepareSynthesiser(std::string& error);
  bool PlayMidi(const Piece& piece, std::string& error);
  bool PlaySong(const Piece& piece, std::string& error);
  void StopMidi();
  Piece* Find(int piece) const;

  double songGain_;
  double synthGain_;
  const MixerLibrary* mixer_ = nullptr;
  bool attached_ = false;
  bool hooked_ = false;
  int rate_ = 0;
  int channels_ = 0;
  MidiSynthesiser synth_;
  std::vector<std::unique_ptr<Piece>> pieces_;
  int current_ = -1;
};
