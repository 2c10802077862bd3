#pragma once
// The program's name and version, as --version prints it and replays record it.
#ifndef TROK_VERSION
#define TROK_VERSION "0"
#endif

inline constexpr const char* ProgramName = "trok " TROK_VERSION;
