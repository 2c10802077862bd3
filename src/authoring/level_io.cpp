#include "authoring/level_io.h"

#include <filesystem>
#include <fstream>

#include "base/files.h"

bool WriteWholeFile(const std::string& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  out.close();
  return !out.fail();
}

bool IsLevelSourceName(const std::string& path) {
  return path.size() >= 4 && path.compare(path.size() - 4, 4, ".txt") == 0;
}

bool ReadLevelSource(const std::string& path, std::string& text, std::string& error) {
  if (!ReadWholeFile(path, text, error, MaxLevelTextBytes)) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > MaxLevelTextBytes)
      error = "\"" + path + "\" is too large to be a level in the text form: it holds " + std::to_string(size) +
              " bytes, and a level's text takes a few kilobytes (at most " + std::to_string(MaxLevelTextBytes) +
              " bytes are read).";
    return false;
  }
  if (const std::string_view rest = WithoutByteOrderMark(text); rest.size() != text.size())
    text.erase(0, text.size() - rest.size());
  return true;
}

LevelReadResult ReadLevelText(const std::string& path) {
  LevelReadResult result;
  std::string text, why;
  if (!ReadLevelSource(path, text, why)) {
    result.error = path + ": cannot read the file (" + why + ")";
    return result;
  }
  TextError error;
  if (auto bytes = ParseLevelText(text, error)) {
    result.bytes = *bytes;
    result.ok = true;
  } else {
    result.error = error.Format(path);
  }
  return result;
}

LevelReadResult ReadLevelFile(const std::string& path) {
  LevelReadResult result;
  std::string data, why;
  if (!ReadWholeFile(path, data, why)) {
    result.error = path + ": cannot read the file (" + why + ")";
    return result;
  }
  if (data.size() < static_cast<std::size_t>(LevelFileSize)) {
    result.error = path + ": " + std::to_string(data.size()) + " bytes; a level file has " +
                   std::to_string(LevelFileSize);
    return result;
  }
  if (data.size() > static_cast<std::size_t>(LevelFileSize))
    result.warnings.push_back(path + ": " + std::to_string(data.size()) +
                              " bytes; only the first " + std::to_string(LevelFileSize) +
                              " belong to the level");
  result.bytes = UnscrambleLevel(reinterpret_cast<const uint8_t*>(data.data()));
  result.ok = true;
  return result;
}

LevelReadResult ReadLevelAny(const std::string& path) {
  return IsLevelSourceName(path) ? ReadLevelText(path) : ReadLevelFile(path);
}

bool WriteLevelFile(const std::string& path, const LevelBytes& bytes, std::string& error) {
  const auto file = ScrambleLevel(bytes);
  if (!WriteWholeFile(path, std::string(file.begin(), file.end()))) {
    error = path + ": cannot write the file";
    return false;
  }
  return true;
}
