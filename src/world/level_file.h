#pragma once
// Level files FELDS/FELD.nn: 2200 bytes, xor-scrambled with a 10-byte key; the first
// 2160 are the 60 x 36 cells of the level's 3 x 3 rooms, row by row.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "world/cell_codes.h"

struct WorldGrid;

constexpr int LevelFileSize = 2200;
constexpr int LevelCellBytes = 2160;
constexpr int LevelColumns = 60;
constexpr int LevelRows = 36;
constexpr int LevelKeySize = 10;

extern const char* const LevelLoadError;

std::array<uint8_t, LevelKeySize> BuildLevelKey();
// Scrambling and unscrambling are the same exclusive-or with key byte n mod 10.
void ScrambleLevelBytes(uint8_t* data, std::size_t count);
// Value rule: the byte as signed 8 bits; anything above 77 becomes 78.
CellCode LevelValue(uint8_t unscrambled);
// "<dir>FELDS/FELD.nn" with at least two digits.
std::string LevelFileName(const std::string& startDirectory, int levelNumber);
// Length of the unbroken run FELD.00, FELD.01, ... that exists; a file that cannot be
// read counts (it fails when it is loaded), a folder does not.
int CountLevels(const std::string& startDirectory, const std::function<void()>& processMessages);

// Clears the world and fills rooms 1..3 x 1..3 from a level file. True when it failed
// (missing, unreadable or short file): the world is then left cleared.
bool FillGridFromLevelFile(const std::string& path, WorldGrid& world);
// The same from the file's bytes; only the first 2200 count.
bool FillGridFromLevelBytes(std::span<const uint8_t> file, WorldGrid& world);
