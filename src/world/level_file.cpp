#include "world/level_file.h"

#include <cstdio>
#include <vector>

#include "base/files.h"
#include "world/world_grid.h"

const char* const LevelLoadError =
    "Error loading level. Please make sure the FELD files exists and have not been corrupted.";

std::array<uint8_t, LevelKeySize> BuildLevelKey() {
  // Built a byte at a time so the key never sits in the binary as one piece.
  std::array<uint8_t, LevelKeySize> key{};
  uint8_t b = 0x5B;
  for (int i = 0; i < LevelKeySize; ++i) {
    b = static_cast<uint8_t>(b * 37 + 0x1D + i * 11);
    key[i] = static_cast<uint8_t>(b ^ (0xA5 >> (i % 3)));
  }
  return key;
}

void ScrambleLevelBytes(uint8_t* data, std::size_t count) {
  const auto key = BuildLevelKey();
  for (std::size_t n = 0; n < count; ++n) data[n] ^= key[n % LevelKeySize];
}

CellCode LevelValue(uint8_t unscrambled) {
  const int v = static_cast<int8_t>(unscrambled);
  return static_cast<CellCode>(v > 77 ? Cell::Unknown : v);
}

std::string LevelFileName(const std::string& startDirectory, int levelNumber) {
  char number[16];
  std::snprintf(number, sizeof number, "%02d", levelNumber);
  return startDirectory + "FELDS/FELD." + number;
}

int CountLevels(const std::string& startDirectory, const std::function<void()>& processMessages) {
  int n = 0;
  for (;; ++n) {
    if (n > 0 && processMessages) processMessages();
    // Only whether it is there: one that cannot be read fails when it is loaded.
    if (!FileOrSpecialExists(LevelFileName(startDirectory, n))) return n;
  }
}

bool FillGridFromLevelFile(const std::string& path, WorldGrid& w) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadFileStart(path, LevelFileSize, bytes, error)) {
    w.ClearWorld();
    return true;
  }
  return FillGridFromLevelBytes(bytes, w);
}

bool FillGridFromLevelBytes(std::span<const uint8_t> file, WorldGrid& w) {
  w.ClearWorld();
  // A short file is damaged: its missing cells would be undefined.
  if (file.size() < static_cast<std::size_t>(LevelFileSize)) return true;
  std::vector<uint8_t> bytes(file.begin(), file.begin() + LevelFileSize);
  ScrambleLevelBytes(bytes.data(), bytes.size());
  for (int n = 0; n < LevelCellBytes; ++n) {
    const int r = n / LevelColumns, col = n % LevelColumns;
    w.RoomCell(1 + col / GridRoomWidth, 1 + r / GridRoomHeight, col % GridRoomWidth,
               r % GridRoomHeight) = LevelValue(bytes[n]);
  }
  return false;
}
