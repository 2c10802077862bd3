#pragma once
// Ends the test program when a step hangs (a FIFO opened the ordinary way waits for
// its other end for ever), so the test fails instead of stalling the whole suite.
#include <unistd.h>

class Watchdog {
 public:
  explicit Watchdog(unsigned seconds = 60) { ::alarm(seconds); }
  ~Watchdog() { ::alarm(0); }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;
};
