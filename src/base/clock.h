#pragma once
// The pump's clock. The real one sleeps; the virtual one advances at once, so tests
// and the headless driver run seconds of play in milliseconds.
#include <cstdint>

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint64_t NowMs() = 0;
  virtual uint64_t NowMicros() = 0;
  virtual void SleepMs(int ms) = 0;
  // Sleeps until NowMicros() reaches `micros` (returns at once when it has).
  virtual void SleepUntilMicros(uint64_t micros) = 0;
  // Seconds for seeding the game's generator.
  virtual int64_t SecondsForSeed() = 0;
  // Virtual time passes only when slept: nothing may wait for the outside world on it.
  virtual bool IsVirtual() const { return false; }
};

class RealClock : public Clock {
 public:
  uint64_t NowMs() override;
  uint64_t NowMicros() override;
  void SleepMs(int ms) override;
  void SleepUntilMicros(uint64_t micros) override;
  int64_t SecondsForSeed() override;
};

class VirtualClock : public Clock {
 public:
  uint64_t NowMs() override { return nowMicros_ / 1000; }
  uint64_t NowMicros() override { return nowMicros_; }
  void SleepMs(int ms) override {
    if (ms > 0) nowMicros_ += static_cast<uint64_t>(ms) * 1000;
  }
  void SleepUntilMicros(uint64_t micros) override {
    if (micros > nowMicros_) nowMicros_ = micros;
  }
  int64_t SecondsForSeed() override { return static_cast<int64_t>(nowMicros_ / 1000000); }
  bool IsVirtual() const override { return true; }
  void Advance(uint64_t ms) { nowMicros_ += ms * 1000; }
  // Work that takes part of a millisecond.
  void AdvanceMicros(uint64_t micros) { nowMicros_ += micros; }

 private:
  uint64_t nowMicros_ = 0;
};

// Sleeps that end on whole milliseconds counted from a start, as a 1 ms system timer
// tick ends them: work done between them does not add up, so n sleeps after the start
// end n ms after it as long as the work fits.
class MillisecondTicks {
 public:
  explicit MillisecondTicks(Clock& clock) : clock_(clock), startMicros_(clock.NowMicros()) {}
  // Sleeps until the next whole millisecond after now, counted from the start.
  void SleepToNext() const { clock_.SleepUntilMicros(WholeMillisecondsAfterNow(1)); }
  // The clock's time `n` whole milliseconds after the last one begun, counted from the start.
  uint64_t WholeMillisecondsAfterNow(int n) const;

 private:
  Clock& clock_;
  uint64_t startMicros_;
};
