// Makes the game's sound effects from the recipes under assets/sounds/.
//   sound_maker <assets dir> <game dir>     writes <game dir>/Sounds/*.wav
#include <cstdio>
#include <filesystem>
#include <string>

#include "sound_maker/sound_set.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sound_maker <assets dir> <game dir>\n");
    return 2;
  }
  std::string error;
  if (!MakeSounds(argv[1], (std::filesystem::path(argv[2]) / "Sounds").string(), error)) {
    std::fprintf(stderr, "sound_maker: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
