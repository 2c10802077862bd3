#pragma once
// Scripts for running the real game headless on virtual time: typed characters, keys
// and mouse clicks at given virtual milliseconds, captures and dumps of the game state.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ui/app.h"

struct DriverAction {
  enum class Kind { Input, Capture, DumpRoom, DumpPlayers, DumpBoxes, End };
  Kind kind = Kind::Input;
  uint64_t atMs = 0;
  InputEvent input;
  std::string path;  // Capture: the file to write
};

struct DriverScript {
  std::optional<uint32_t> seed;
  std::vector<DriverAction> actions;
  uint64_t endMs = 0;  // 0: when the last action has run
  bool realTime = false;  // the wall clock instead of virtual time: a run to listen to
};

// Virtual-key code for a key name ("F2", "Escape", "Left", "A", "7", "Ctrl", "44"), or -1.
int KeyCodeFromName(const std::string& name);
// Parses a script; false with "line N: reason" in error.
bool ParseDriverScript(const std::string& text, DriverScript& script, std::string& error);

// Runs a parsed script against the game in the current directory; dumps go to `out`.
// Returns the process exit code.
int RunDriverScript(const DriverScript& script, std::ostream& out);
