// Runs the real game headless from a script; see the README's developer section.
#include <fstream>
#include <iostream>
#include <sstream>

#include "base/stop_signal.h"
#include "trok_driver/driver_script.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: trok_driver SCRIPT   (run in the game directory)\n";
    return 2;
  }
  std::ifstream file(argv[1]);
  if (!file) {
    std::cerr << "trok_driver: cannot read " << argv[1] << '\n';
    return 2;
  }
  std::stringstream text;
  text << file.rdbuf();
  DriverScript script;
  std::string error;
  if (!ParseDriverScript(text.str(), script, error)) {
    std::cerr << "trok_driver: " << argv[1] << ": " << error << '\n';
    return 2;
  }
  // SIGTERM or Ctrl+C ends a run at any moment, as the game's Quit item would.
  CatchStopSignals();
  return RunDriverScript(script, std::cout);
}
