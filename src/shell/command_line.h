#pragma once
// The program's command line: nothing to play as always; --play FILE to watch a
// recorded game, --verify FILE to check one headless, --help and --version.
#include <cstdint>

int RunCommandLine(int argc, char** argv, const uint32_t* iconArgb, int iconSide);
