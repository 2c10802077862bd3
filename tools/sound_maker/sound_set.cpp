#include "sound_maker/sound_set.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sound_maker/synth.h"
#include "sound_maker/wave_writer.h"

namespace fs = std::filesystem;

bool MakeSounds(const std::string& assetsDir, const std::string& outDir, std::string& error,
                std::vector<std::string>* written) {
  std::error_code ec;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(fs::path(assetsDir) / "sounds", ec))
    if (entry.path().extension() == ".sfx") files.push_back(entry.path());
  if (ec || files.empty()) {
    error = "no sound recipes in " + (fs::path(assetsDir) / "sounds").string();
    return false;
  }
  std::sort(files.begin(), files.end());
  fs::create_directories(outDir, ec);
  for (const fs::path& file : files) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    std::string why;
    const auto recipes = ParseRecipes(text.str(), why);
    if (!recipes) {
      error = file.filename().string() + ": " + why;
      return false;
    }
    for (const SoundRecipe& recipe : *recipes) {
      const std::string path = (fs::path(outDir) / (recipe.name + ".wav")).string();
      if (!SaveWave(RenderSound(recipe), SynthRate, path, error)) return false;
      if (written) written->push_back(path);
    }
  }
  return true;
}
