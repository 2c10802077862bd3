#include "shell/program.h"
// Made at build time by the tile maker from our tile art.
#include "window_icon.h"

int main() { return RunProgram(TrokIconArgb, TrokIconSide); }
