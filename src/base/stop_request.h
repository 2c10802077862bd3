#pragma once
// A request from outside to end the program (SIGTERM, SIGHUP: the session ends, the
// system shuts down). The handler only notes it; the program's own loops ask for it and
// end in their own time, with their data safe.
#include <csignal>

// Catches the requests from now on (again after a library installed its own handler).
void CatchStopRequests();
bool StopRequested();
