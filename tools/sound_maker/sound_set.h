#pragma once
// The game's wave files from the recipes in <assets>/sounds/*.sfx.
#include <string>
#include <vector>

// Writes <out dir>/<name>.wav for every recipe; false with a reason.
bool MakeSounds(const std::string& assetsDir, const std::string& outDir, std::string& error,
                std::vector<std::string>* written = nullptr);
