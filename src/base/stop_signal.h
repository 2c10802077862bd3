#pragma once
// Ending the program from outside: SIGTERM (a session that ends, `kill`) and SIGINT
// (Ctrl+C). The handler only notes the signal; the message pump looks at the note and
// ends the program from there, however deep its loops are nested.
void CatchStopSignals();
// A stop signal came since CatchStopSignals.
bool StopSignalled();
