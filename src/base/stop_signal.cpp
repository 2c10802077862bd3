#include "base/stop_signal.h"

#include <signal.h>

#include <initializer_list>

namespace {
volatile sig_atomic_t stopSignalled = 0;

// Nothing but the note: anything else is unsafe inside a signal handler.
void NoteStopSignal(int) { stopSignalled = 1; }
}  // namespace

void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = &NoteStopSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a wait in progress returns, so the loop around it looks at once.
  action.sa_flags = 0;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool StopSignalled() { return stopSignalled != 0; }
