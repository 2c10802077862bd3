#pragma once
// The one door to the sound hardware: opened once, it offers a sound output for wave
// effects and a music output for whole pieces. SDL-free, so tests can stand in for it.
#include <cstdint>
#include <span>
#include <string>

struct PcmFormat {
  int channels = 1;       // 1 or 2
  int sampleRate = 22050;
  int bitsPerSample = 16;  // 8 (unsigned) or 16 (signed little-endian)
};

// Preloaded sounds started on numbered channels: starting a channel again cuts off what
// it played, while different channels sound together.
class SoundOutput {
 public:
  static constexpr int ChannelCount = 256;

  virtual ~SoundOutput() = default;
  // Copies the PCM data into a sound of the output's own; its id, or -1 with the reason.
  virtual int MakeSound(const PcmFormat& format, std::span<const uint8_t> pcm,
                        std::string& error) = 0;
  // Starts the sound from its beginning on `channel` at `gain` (linear, 1 = as recorded).
  virtual bool Start(int sound, int channel, double gain) = 0;
  virtual bool Playing(int channel) const = 0;
};

// Whole pieces, one sounding at a time: standard MIDI files through one General MIDI
// synthesiser, and MP3 songs.
class MusicOutput {
 public:
  virtual ~MusicOutput() = default;
  // Takes a piece from the file's bytes; its id, or -1 with the reason.
  virtual int Load(std::span<const uint8_t> bytes, std::string& error) = 0;
  // Whether MIDI pieces can play here at all (the synthesiser exists); the reason if not.
  virtual bool MidiAvailable(std::string& error) = 0;
  // Gets ready to play MIDI pieces soon without a pause (the synthesiser's instruments).
  virtual void PrepareMidi() = 0;
  // Plays the piece once from its beginning, replacing whatever sounds.
  virtual bool Play(int piece, std::string& error) = 0;
  // True while this piece sounds and has not reached its end.
  virtual bool Playing(int piece) = 0;
  // Silences the piece if it is the one sounding.
  virtual void Stop(int piece) = 0;
  virtual void Free(int piece) = 0;
};

class AudioDoor {
 public:
  virtual ~AudioDoor() = default;
  // Opens the device on the first call; every later call gives the first answer.
  virtual bool Open(std::string& error) = 0;
  // Reads in what Open will need without opening anything or reporting a failure (Open
  // does that), so that an idle moment before it bears the cost.
  virtual void LoadAhead() {}
  virtual SoundOutput& Sounds() = 0;
  virtual MusicOutput& Music() = 0;
};
