// The checker's hard test levels are what tools/hard_levels makes of their seeds, and
// they are as hard as meant: the mix of cells asked for, the Finish walled in.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "authoring/level_io.h"
#include "hard_levels/hard_level.h"
#include "world/cell_codes.h"

namespace {

TEST(HardLevels, TheTestDataIsTheGeneratorsOwn) {
  for (int seed = 1; seed <= 6; ++seed) {
    const std::string path =
        std::string(TROK_SOURCE_DIR) + "/tests/authoring/levels/hard/hard-" + std::to_string(seed) + ".txt";
    const LevelReadResult read = ReadLevelText(path);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_TRUE(read.bytes == MakeHardLevel(static_cast<uint32_t>(seed))) << path;
  }
  EXPECT_FALSE(MakeHardLevel(1) == MakeHardLevel(2));
}

TEST(HardLevels, MixAndAWalledInFinish) {
  for (uint32_t seed : {1u, 17u, 400u}) {
    const LevelBytes bytes = MakeHardLevel(seed);
    std::map<int, int> count;
    for (int i = 0; i < LevelCellBytes; ++i) ++count[bytes[i]];
    const double inner = (LevelColumns - 2) * (LevelRows - 2);
    auto share = [&](std::initializer_list<int> codes) {
      int n = 0;
      for (int c : codes) n += count[c];
      return 100.0 * n / inner;
    };
    EXPECT_NEAR(share({Cell::SlideFieldOmni}), 15, 3) << seed;
    EXPECT_NEAR(share({Cell::SlideRight, Cell::SlideLeft, Cell::SlideUp, Cell::SlideDown}), 5, 2) << seed;
    EXPECT_NEAR(share({Cell::BrickShootable}), 6, 2) << seed;
    EXPECT_NEAR(share({Cell::Key}), 3, 1.5) << seed;
    EXPECT_NEAR(share({Cell::Door}), 4, 1.5) << seed;
    EXPECT_EQ(count[Cell::Start], 1) << seed;
    ASSERT_EQ(count[Cell::Finish], 1) << seed;
    const int finish = static_cast<int>(std::find(bytes.begin(), bytes.end(), Cell::Finish) - bytes.begin());
    const int col = finish % LevelColumns, row = finish / LevelColumns;
    // Off its room's edges: a player crossing in would overwrite a wall there.
    EXPECT_TRUE(col % 20 >= 2 && col % 20 <= 17 && row % 12 >= 2 && row % 12 <= 9) << seed;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (dx || dy) EXPECT_EQ(bytes[finish + dy * LevelColumns + dx], Cell::BrickSolid) << seed;
  }
}

}  // namespace
