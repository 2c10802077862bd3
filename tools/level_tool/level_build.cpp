#include "level_tool/level_build.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>

#include "authoring/level_check.h"
#include "authoring/level_io.h"

namespace fs = std::filesystem;

int LevelNumberOfSource(const std::string& fileName) {
  if (fileName.size() < 8 || fileName.compare(fileName.size() - 4, 4, ".txt") != 0) return -1;
  if (!std::isdigit(static_cast<unsigned char>(fileName[0])) ||
      !std::isdigit(static_cast<unsigned char>(fileName[1])) || fileName[2] != '-')
    return -1;
  return (fileName[0] - '0') * 10 + (fileName[1] - '0');
}

BuildMessages CompileAllLevels(const std::string& levelsDir, const std::string& feldsDir) {
  BuildMessages out;
  std::error_code ec;
  if (!fs::is_directory(levelsDir, ec)) {
    out.errors.push_back(levelsDir + ": no such directory");
    return out;
  }
  std::map<int, fs::path> sources;
  for (const auto& entry : fs::directory_iterator(levelsDir, ec)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || entry.path().extension() != ".txt") continue;
    const int number = LevelNumberOfSource(name);
    if (number < 0) {
      out.errors.push_back(entry.path().string() +
                           ": a level source is named NN-name.txt (two digits, a hyphen)");
      continue;
    }
    if (auto [it, fresh] = sources.emplace(number, entry.path()); !fresh)
      out.errors.push_back(entry.path().string() + ": level " + std::to_string(number) +
                           " is also " + it->second.string());
  }
  if (sources.empty()) out.errors.push_back(levelsDir + ": no level sources (NN-name.txt)");
  // The game counts levels as the unbroken run from 00.
  int expected = 0;
  for (const auto& [number, path] : sources) {
    if (number != expected) {
      out.errors.push_back(path.string() + ": level " + std::to_string(expected) +
                           " is missing; the game would never see levels after it");
      break;
    }
    ++expected;
  }

  std::map<int, LevelBytes> compiled;
  for (const auto& [number, path] : sources) {
    const LevelReadResult read = ReadLevelText(path.string());
    if (!read.ok) {
      out.errors.push_back(read.error);
      continue;
    }
    const CheckReport report = CheckLevel(read.bytes);
    for (const auto& e : report.errors) out.errors.push_back(path.string() + ": " + e);
    // A level the checker could not prove is not shipped either.
    if (report.NotProven()) out.errors.push_back(path.string() + ": " + NotProvenText);
    for (const auto& n : report.notes) out.notes.push_back(path.string() + ": " + n);
    compiled[number] = read.bytes;
  }
  if (!out.errors.empty()) return out;

  fs::create_directories(feldsDir, ec);
  for (const auto& [number, bytes] : compiled) {
    char name[16];
    std::snprintf(name, sizeof name, "FELD.%02d", number);
    std::string error;
    if (!WriteLevelFile((fs::path(feldsDir) / name).string(), bytes, error)) {
      out.errors.push_back(error);
      return out;
    }
    ++out.compiled;
  }
  // Old files of levels that no longer exist would still be played.
  for (const auto& entry : fs::directory_iterator(feldsDir, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("FELD.", 0) != 0 || name.size() <= 5) continue;
    const std::string digits = name.substr(5);
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
      continue;
    if (digits.size() > 6) continue;
    if (compiled.count(std::stoi(digits)) == 0 || digits.size() < 2) fs::remove(entry.path(), ec);
  }
  return out;
}
