// Prints the loudness of every piece, the opening song and every sound effect of a game
// directory, as the game plays them, against the targets they are made to.
//   loudness_meter <game dir> [--wav <dir>]   --wav also keeps each rendering as a wave file
// Ends with status 1 when anything misses its target or cannot be measured.
#include <cstdio>
#include <string>

#include "loudness_meter/loudness_table.h"

int main(int argc, char** argv) {
  const bool wav = argc == 4 && std::string(argv[2]) == "--wav";
  if (argc != 2 && !wav) {
    std::fprintf(stderr, "usage: loudness_meter <game dir> [--wav <dir>]\n");
    return 2;
  }
  const auto rows = MeasureGameDirectory(argv[1], wav ? argv[3] : "");
  std::fputs(FormatLoudnessTable(rows).c_str(), stdout);
  int missed = 0;
  for (const LoudnessRow& r : rows) missed += !r.Ok();
  std::printf("%d of %zu meet their targets\n", static_cast<int>(rows.size()) - missed, rows.size());
  return missed == 0 ? 0 : 1;
}
