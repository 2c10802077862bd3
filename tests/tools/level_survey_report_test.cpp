// `level_tool survey`: the autopilot's runs it reads, and the tables it prints.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "authoring/level_io.h"
#include "level_tool/level_survey_report.h"
#include "support/level_sketch.h"

namespace fs = std::filesystem;

namespace {

TEST(AutoplayRuns, ReadOneRunALineAndNameTheLinesThatDoNot) {
  std::vector<std::string> errors;
  const std::vector<AutoplayRun> runs =
      ParseAutoplayRuns("3 1 5 12.5 40 1\n\n3 2 5 0 0 0\n3 3 5 1 1 1\n4 1 1 2.0 x 1\n4 1 1 2 0 1 extra\n", errors);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].level, 3);
  EXPECT_EQ(runs[0].players, 1);
  EXPECT_EQ(runs[0].seed, 5);
  EXPECT_DOUBLE_EQ(runs[0].seconds, 12.5);
  EXPECT_DOUBLE_EQ(runs[0].damage, 40);
  EXPECT_TRUE(runs[0].finished);
  EXPECT_FALSE(runs[1].finished);
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_EQ(errors[0].rfind("line 4:", 0), 0u) << errors[0];  // three players
  EXPECT_EQ(errors[1].rfind("line 5:", 0), 0u) << errors[1];
  EXPECT_EQ(errors[2].rfind("line 6:", 0), 0u) << errors[2];
}

TEST(LevelSurvey, PrintsTheMostAlikeRoomsAndTheMeansOfTheFinishedRuns) {
  const fs::path dir = fs::temp_directory_path() / ("trok-survey-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  // Eight rooms the same in both levels; room (1,1) holds a block of 50 walls in one and
  // 50 gold in the other.
  MapSketch a, b;
  a.CloseAllRooms().Set(5, 3, 'S').Set(5, 10, 'E');
  b = a;
  b.Set(8, 8, 'a');
  for (int row = 14; row <= 18; ++row) {
    a.HWall(row, 22, 31);
    b.HWall(row, 22, 31, '$');
  }
  ASSERT_TRUE(WriteWholeFile((dir / "00-a.txt").string(), a.Text()));
  ASSERT_TRUE(WriteWholeFile((dir / "01-b.txt").string(), b.Text()));
  ASSERT_TRUE(WriteWholeFile((dir / "README.md").string(), "not a level"));
  const std::vector<AutoplayRun> runs = {{0, 1, 1, 10, 0, true}, {0, 1, 2, 20, 30, true}, {0, 1, 3, 99, 90, false},
                                         {1, 1, 1, 30, 10, true}};
  std::ostringstream out;
  SurveyOptions options;
  options.worstPairs = 81;
  ASSERT_TRUE(PrintLevelSurvey(dir.string(), runs, options, out)) << out.str();
  const std::string text = out.str();
  // The eight rooms with no more than their walls round them, the Start, the Finish
  // and an ant are all alike; the two rooms (1,1) share their ring (60 of 110 cells)
  // with each other and with every other room.
  EXPECT_NE(text.find("| 00 | (1,0) | 01 | (1,0) | 100 % |"), std::string::npos) << text;
  EXPECT_NE(text.find("| 00 | (1,1) | 01 | (1,1) | 55 % |"), std::string::npos) << text;
  EXPECT_NE(text.find("Pairs of rooms over 90 %: 64, over 70 %: 64, over 60 %: 64 (of 81)."), std::string::npos)
      << text;
  // Level 0: seeds 1 and 2 finished, seed 3 did not.
  EXPECT_NE(text.find("| 15.0 (2/3) | 15 (2/3) |"), std::string::npos) << text;
  EXPECT_NE(text.find("| 30.0 | 10 |"), std::string::npos) << text;
  EXPECT_NE(text.find("| 01 | 1 | 0 | 0 | 0 | 0 | 1 |"), std::string::npos) << text;  // the ant
  fs::remove_all(dir);
}

}  // namespace
