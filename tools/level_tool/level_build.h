#pragma once
// The build step: every levels/NN-name.txt becomes FELDS/FELD.NN.
#include <string>
#include <vector>

struct BuildMessages {
  std::vector<std::string> errors;
  std::vector<std::string> notes;
  int compiled = 0;
};

// Compiles and checks every level source of `levelsDir` into `feldsDir`. Nothing is
// written unless all of them are sound. FELD files without a source are removed.
BuildMessages CompileAllLevels(const std::string& levelsDir, const std::string& feldsDir);

// The level number of a source file name "NN-name.txt", or -1.
int LevelNumberOfSource(const std::string& fileName);
