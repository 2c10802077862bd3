#include "base/stop_request.h"

#include <initializer_list>

namespace {

volatile std::sig_atomic_t requested = 0;

void NoteRequest(int) { requested = 1; }

}  // namespace

void CatchStopRequests() {
  struct sigaction action {};
  action.sa_handler = NoteRequest;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a wait in progress returns, so the loop around it looks at once.
  action.sa_flags = 0;
  for (int signal : {SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool StopRequested() { return requested != 0; }
