// Writes the checker's hard test levels in the text form.
//   hard_levels OUTDIR FIRST_SEED COUNT    writes OUTDIR/hard-SEED.txt for each seed
#include <cstdio>
#include <filesystem>
#include <string>

#include "authoring/level_io.h"
#include "hard_levels/hard_level.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: hard_levels OUTDIR FIRST_SEED COUNT\n");
    return 2;
  }
  const std::filesystem::path out(argv[1]);
  const unsigned long first = std::stoul(argv[2]), count = std::stoul(argv[3]);
  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  for (unsigned long seed = first; seed < first + count; ++seed) {
    const std::string name = "hard-" + std::to_string(seed) + ".txt";
    const std::string text = FormatLevelText(
        MakeHardLevel(static_cast<uint32_t>(seed)),
        "Checker stress level made by tools/hard_levels, seed " + std::to_string(seed) +
            ":\n15 % ice, 5 % slide arrows, 6 % shootable walls, 3 % keys, 4 % doors, the "
            "Finish walled in.");
    if (!WriteWholeFile((out / name).string(), text)) {
      std::fprintf(stderr, "hard_levels: cannot write %s\n", (out / name).c_str());
      return 1;
    }
  }
  return 0;
}
