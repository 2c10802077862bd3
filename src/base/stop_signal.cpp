#include "base/stop_signal.h"

#include <signal.h>

namespace {
volatile sig_atomic_t stopSignalled = 0;

// Nothing but the note: anything else is unsafe inside a signal handler.
void NoteStopSignal(int) { stopSignalled = 1; }
}  // namespace

void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = &NoteStopSignal;
  sigemptyset(&action.sa_mask);
  // Installed before SDL starts, which then leaves these signals to us.
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

bool StopSignalled() { return stopSignalled != 0; }
