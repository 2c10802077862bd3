#include "base/clock.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {
// Monotonic, so a change of the wall clock cannot stall or rush the timers.
const std::chrono::steady_clock::time_point& Start() {
  static const auto start = std::chrono::steady_clock::now();
  return start;
}
}  // namespace

uint64_t RealClock::NowMs() { return NowMicros() / 1000; }

uint64_t RealClock::NowMicros() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - Start()).count());
}

void RealClock::SleepMs(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void RealClock::SleepUntilMicros(uint64_t micros) {
  std::this_thread::sleep_until(Start() + std::chrono::microseconds(micros));
}

int64_t RealClock::SecondsForSeed() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

uint64_t MillisecondTicks::WholeMillisecondsAfterNow(int n) const {
  const uint64_t elapsed = clock_.NowMicros() - startMicros_;
  return startMicros_ + (elapsed / 1000 + static_cast<uint64_t>(std::max(n, 0))) * 1000;
}
