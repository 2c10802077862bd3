#pragma once
// An audio door that records what the game asks of it. On its own it keeps a simple
// model (a piece plays from its start until it is stopped, replaced or ended by the
// test); given a real door it passes every call on and records only what that door
// accepted.
#include <memory>
#include <string>
#include <vector>

#include "platform/audio_door.h"

class RecordingAudioDoor final : public AudioDoor, SoundOutput, MusicOutput {
 public:
  struct SoundStart {
    int sound, channel;
    double gain;
  };

  RecordingAudioDoor() = default;
  explicit RecordingAudioDoor(std::unique_ptr<AudioDoor> inner) : inner_(std::move(inner)) {}

  // Without a real door: Open fails with this text (empty: Open succeeds).
  std::string failOpenWith;

  std::vector<SoundStart> starts;
  std::vector<std::vector<uint8_t>> loaded;  // every piece's bytes, by piece id
  std::vector<int> plays;                    // pieces started, in order
  int prepareCalls = 0;

  int StartsOn(int channel) const {
    int n = 0;
    for (const SoundStart& s : starts) n += s.channel == channel;
    return n;
  }
  // The piece sounding ends by itself.
  void EndCurrentPiece() { current_ = -1; }
  AudioDoor* Inner() const { return inner_.get(); }

  bool Open(std::string& error) override {
    if (inner_) return inner_->Open(error);
    opened_ = failOpenWith.empty();
    error = failOpenWith;
    return opened_;
  }
  SoundOutput& Sounds() override { return *this; }
  MusicOutput& Music() override { return *this; }

  int MakeSound(const PcmFormat& format, std::span<const uint8_t> pcm,
                std::string& error) override {
    if (inner_) return inner_->Sounds().MakeSound(format, pcm, error);
    if (!opened_) {
      error = "not open";
      return -1;
    }
    return sounds_++;
  }
  bool Start(int sound, int channel, double gain) override {
    const bool started = inner_ ? inner_->Sounds().Start(sound, channel, gain)
                                : opened_ && sound >= 0 && sound < sounds_;
    if (started) starts.push_back({sound, channel, gain});
    return started;
  }
  bool Playing(int channel) const override {
    return inner_ && inner_->Sounds().Playing(channel);
  }

  int Load(std::span<const uint8_t> bytes, std::string& error) override {
    if (inner_) {
      const int piece = inner_->Music().Load(bytes, error);
      if (piece >= 0) Remember(piece, bytes);
      return piece;
    }
    if (!opened_) {
      error = "not open";
      return -1;
    }
    Remember(static_cast<int>(loaded.size()), bytes);
    return static_cast<int>(loaded.size()) - 1;
  }
  bool MidiAvailable(std::string& error) override {
    return !inner_ || inner_->Music().MidiAvailable(error);
  }
  void PrepareMidi() override {
    ++prepareCalls;
    if (inner_) inner_->Music().PrepareMidi();
  }
  bool Play(int piece, std::string& error) override {
    const bool started = inner_ ? inner_->Music().Play(piece, error)
                                : piece >= 0 && piece < static_cast<int>(loaded.size());
    if (!started && error.empty()) error = "no such piece";
    if (started) plays.push_back(piece);
    current_ = started ? piece : -1;
    return started;
  }
  bool Playing(int piece) override {
    if (inner_) return inner_->Music().Playing(piece);
    return piece >= 0 && piece == current_;
  }
  void Stop(int piece) override {
    if (inner_) inner_->Music().Stop(piece);
    if (piece == current_) current_ = -1;
  }
  void Free(int piece) override {
    if (inner_) inner_->Music().Free(piece);
    Stop(piece);
  }

 private:
  void Remember(int piece, std::span<const uint8_t> bytes) {
    if (static_cast<int>(loaded.size()) <= piece) loaded.resize(static_cast<size_t>(piece) + 1);
    loaded[static_cast<size_t>(piece)].assign(bytes.begin(), bytes.end());
  }

  std::unique_ptr<AudioDoor> inner_;
  bool opened_ = false;
  int sounds_ = 0;
  int current_ = -1;
};
