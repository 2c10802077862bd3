#pragma once
// Ending the program from outside: SIGTERM (a session that ends, `kill`), SIGINT
// (Ctrl+C) and SIGHUP (the terminal or session went away). The handler only notes the
// signal; the program's own loops look at the note and end from there, however deep
// they are nested, with their data safe.
// Catches the signals from now on (again after a library installed its own handler).
void CatchStopSignals();
// A stop signal came since CatchStopSignals.
bool StopSignalled();
