// Makes the game's music from the note lists under assets/music/.
//   music_maker <assets dir> <game dir>   writes <game dir>/Music/MIDIFILEnn.MID and
//                                         <game dir>/Sounds/S99-OpeningSong.mp3
#include <cstdio>
#include <string>

#include "music_maker/music_set.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: music_maker <assets dir> <game dir>\n");
    return 2;
  }
  std::string error;
  if (!MakeMusic(argv[1], argv[2], error)) {
    std::fprintf(stderr, "music_maker: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
