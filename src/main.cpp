#include "shell/command_line.h"
// Made at build time by the tile maker from our tile art.
#include "window_icon.h"

int main(int argc, char** argv) { return RunCommandLine(argc, argv, TrokIconArgb, TrokIconSide); }
