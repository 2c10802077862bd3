// Plays a level of the game in the current directory through with an autopilot; see
// the README's developer section.
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "trok_autoplay/autoplay_run.h"

namespace {

int Usage() {
  std::cerr << "usage: trok_autoplay [--players 1|2] [--seed N] [--max-minutes M] [--trace] LEVEL_NUMBER\n"
               "       (run in the game directory)\n";
  return 2;
}

bool Number(const char* text, double& value) {
  char* end = nullptr;
  value = std::strtod(text, &end);
  return end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  AutoplayOptions options;
  bool haveLevel = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    double value = 0;
    if (arg == "--trace") {
      options.trace = true;
    } else if ((arg == "--players" || arg == "--seed" || arg == "--max-minutes") && i + 1 < argc) {
      if (!Number(argv[++i], value) || value < 0) return Usage();
      if (arg == "--players") {
        if (value != 1 && value != 2) return Usage();
        options.players = static_cast<int>(value);
      } else if (arg == "--seed") {
        options.seed = static_cast<uint32_t>(value);
      } else {
        if (value <= 0) return Usage();
        options.maxMinutes = value;
      }
    } else if (!haveLevel && Number(arg.c_str(), value) && value >= 0 && value == static_cast<int>(value)) {
      options.level = static_cast<int>(value);
      haveLevel = true;
    } else {
      return Usage();
    }
  }
  if (!haveLevel) return Usage();
  // No window and no sound device: SDL's dummy drivers unless told otherwise.
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  const AutoplayOutcome outcome = RunAutoplay(options, std::cout);
  std::cout << outcome.summary << '\n';
  return outcome.finished ? 0 : 1;
}
