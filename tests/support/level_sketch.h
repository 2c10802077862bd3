#pragma once
// Small handmade levels for the level tests: a 60 x 36 map, walled round its outside,
// every room otherwise open unless a test draws walls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "authoring/level_text.h"

class MapSketch {
 public:
  MapSketch() : rows_(LevelRows, std::string(LevelColumns, '.')) {
    for (int c = 0; c < LevelColumns; ++c) rows_[0][c] = rows_[LevelRows - 1][c] = '#';
    for (int r = 0; r < LevelRows; ++r) rows_[r][0] = rows_[r][LevelColumns - 1] = '#';
  }
  MapSketch& Set(int row, int col, char c) {
    rows_[row][col] = c;
    return *this;
  }
  // Writes `text` from (row, col) rightwards.
  MapSketch& Put(int row, int col, const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) rows_[row][col + i] = text[i];
    return *this;
  }
  MapSketch& HWall(int row, int col0, int col1, char c = '#') {
    for (int col = col0; col <= col1; ++col) rows_[row][col] = c;
    return *this;
  }
  MapSketch& VWall(int col, int row0, int row1, char c = '#') {
    for (int row = row0; row <= row1; ++row) rows_[row][col] = c;
    return *this;
  }
  // Closes every room edge (both sides of each room border) except where a test
  // opens it again.
  MapSketch& CloseAllRooms() {
    for (int k = 1; k < 3; ++k) {
      VWall(20 * k - 1, 0, LevelRows - 1);
      VWall(20 * k, 0, LevelRows - 1);
      HWall(12 * k - 1, 0, LevelColumns - 1);
      HWall(12 * k, 0, LevelColumns - 1);
    }
    return *this;
  }
  std::string Text(const std::string& extra = "") const {
    std::string t = "# test level\nmap\n";
    for (const auto& r : rows_) t += r + "\n";
    return t + "end\n" + extra;
  }
  LevelBytes Bytes() const {
    TextError error;
    auto bytes = ParseLevelText(Text(), error);
    EXPECT_TRUE(bytes.has_value()) << error.Format();
    return bytes.value_or(LevelBytes{});
  }

 private:
  std::vector<std::string> rows_;
};
