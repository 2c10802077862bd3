#pragma once
// The pump's clock. The real one sleeps; the virtual one advances at once, so tests
// and the headless driver run seconds of play in milliseconds.
#include <cstdint>

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint64_t NowMs() = 0;
  virtual void SleepMs(int ms) = 0;
  // Seconds for seeding the game's generator.
  virtual int64_t SecondsForSeed() = 0;
};

class RealClock : public Clock {
 public:
  uint64_t NowMs() override;
  void SleepMs(int ms) override;
  int64_t SecondsForSeed() override;
};

class VirtualClock : public Clock {
 public:
  uint64_t NowMs() override { return now_; }
  void SleepMs(int ms) override {
    if (ms > 0) now_ += static_cast<uint64_t>(ms);
  }
  int64_t SecondsForSeed() override { return static_cast<int64_t>(now_ / 1000); }
  void Advance(uint64_t ms) { now_ += ms; }

 private:
  uint64_t now_ = 0;
};
