#pragma once
// The player's choice between full screen and a window (Alt+Enter), kept across runs
// in a small file of its own beside Options.dat, which stays as it is: one word,
// "window" or "fullscreen", and a line end.
#include <string>

inline const char* const DisplayChoiceFileName = "Display.dat";

enum class DisplayChoice { FullScreen, Window };

// What the file in the working directory says. Anything but a readable regular file
// saying "window" (missing, damaged, a folder, FIFO or device, a link to nothing)
// means full screen; nothing waits and nothing is asked.
DisplayChoice ReadDisplayChoice();
// Saves the choice whole or not at all; false with a reason.
bool SaveDisplayChoice(DisplayChoice choice, std::string& error);
