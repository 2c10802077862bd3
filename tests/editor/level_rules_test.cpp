// The rules and warnings, each with the cell it names.
#include <gtest/gtest.h>

#include <algorithm>

#include "editor/level_document.h"
#include "editor/level_files.h"
#include "editor/level_rules.h"
#include "world/cell_codes.h"

namespace {

int C(int col, int row) { return CellAt(col, row); }

// A level that keeps every rule: the empty frame with a Start and a Finish.
LevelBytes Sound() {
  LevelBytes b = LevelDocument::EmptyFrame();
  b[C(5, 5)] = Cell::Start;
  b[C(50, 30)] = Cell::Finish;
  return b;
}

std::vector<RuleFinding> Findings(const LevelBytes& b, RuleSeverity severity) {
  auto all = CheckLevelRules(b);
  std::erase_if(all, [&](const RuleFinding& f) { return f.severity != severity; });
  return all;
}

bool Mentions(const std::vector<RuleFinding>& findings, int cell, const std::string& words) {
  return std::any_of(findings.begin(), findings.end(), [&](const RuleFinding& f) {
    return f.cell == cell && f.text.find(words) != std::string::npos;
  });
}

TEST(LevelRules, ASoundLevelHasNoFindings) {
  const auto findings = CheckLevelRules(Sound());
  EXPECT_TRUE(findings.empty()) << findings.front().text;
}

TEST(LevelRules, ExactlyOneStartAndAFinish) {
  LevelBytes b = LevelDocument::EmptyFrame();
  auto errors = Findings(b, RuleSeverity::Error);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_NE(errors[0].text.find("No Start"), std::string::npos);
  EXPECT_NE(errors[1].text.find("No Finish"), std::string::npos);
  EXPECT_EQ(errors[0].cell, -1);

  b = Sound();
  b[C(45, 3)] = Cell::Start;  // room (2,0): before room (0,0)? no: same room row, later room
  b[C(5, 20)] = Cell::Start;  // a later room row
  errors = Findings(b, RuleSeverity::Error);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].cell, C(45, 3)) << "the loader's order: room row, room, row, column";
  EXPECT_EQ(errors[1].cell, C(5, 20));
  EXPECT_NE(errors[0].text.find("exactly one"), std::string::npos);
}

TEST(LevelRules, AStartInTheOuterColumnsOfItsRoomIsAnError) {
  for (int col : {20, 39}) {
    LevelBytes b = Sound();
    b[C(5, 5)] = Cell::Floor;
    b[C(col, 5)] = Cell::Start;
    const auto errors = Findings(b, RuleSeverity::Error);
    ASSERT_EQ(errors.size(), 1u) << col;
    EXPECT_EQ(errors[0].cell, C(col, 5));
    EXPECT_NE(errors[0].text.find("columns 1 to 18"), std::string::npos);
  }
  LevelBytes b = Sound();
  b[C(5, 5)] = Cell::Floor;
  b[C(21, 5)] = Cell::Start;
  EXPECT_TRUE(Findings(b, RuleSeverity::Error).empty()) << "column 1 is fine";
}

TEST(LevelRules, StartCellsThatAreNotFloorAreWarned) {
  LevelBytes b = Sound();
  b[C(4, 5)] = Cell::BrickSolid;
  const auto warnings = Findings(b, RuleSeverity::Warning);
  EXPECT_TRUE(Mentions(warnings, C(4, 5), "Player 1 starts left"));
}

TEST(LevelRules, LasersWithoutACellToFireIntoOrBurningSomething) {
  LevelBytes b = Sound();
  b[C(38, 5)] = Cell::LaserSet2P3;   // room (1,0) column 18: fires into column 19
  b[C(39, 5)] = Cell::Key;           // which holds a key
  b[C(10, 11)] = Cell::LaserSet1P5;  // bottom row of room (0,0): no cell below in its room
  b[C(12, 4)] = Cell::LaserSet4P3;
  b[C(13, 4)] = Cell::Floor;  // fine
  const auto warnings = Findings(b, RuleSeverity::Warning);
  EXPECT_TRUE(Mentions(warnings, C(39, 5), "burns away"));
  EXPECT_TRUE(Mentions(warnings, C(10, 11), "never fires"));
  EXPECT_FALSE(Mentions(warnings, C(12, 4), "")) << "a laser with floor beside it";
  EXPECT_FALSE(Mentions(warnings, C(13, 4), ""));
}

TEST(LevelRules, DoorsNeedAKeyReachableBeforeThem) {
  LevelBytes b = Sound();
  // Room (0,0) closed off: the doorways east and south become doors.
  for (int row = 4; row <= 7; ++row) b[C(19, row)] = Cell::Door;
  for (int col = 8; col <= 11; ++col) b[C(col, 11)] = Cell::BrickSolid;
  auto locked = DoorsWithoutKeys(b);
  EXPECT_EQ(locked.size(), 4u) << "no key anywhere";
  b[C(2, 2)] = Cell::Key;  // one key in reach opens one door
  locked = DoorsWithoutKeys(b);
  EXPECT_EQ(locked.size(), 3u);
  // A key behind the doors does not help.
  b[C(2, 2)] = Cell::Floor;
  b[C(30, 5)] = Cell::Key;
  EXPECT_EQ(DoorsWithoutKeys(b).size(), 4u);
  const auto warnings = Findings(b, RuleSeverity::Warning);
  EXPECT_TRUE(Mentions(warnings, C(19, 4), "No key is left for the door"));
  // Keys reached by crossing rooms count: through the south doorway, round by room (1,1),
  // both the key below and the one behind the doors.
  for (int col = 8; col <= 11; ++col) b[C(col, 11)] = Cell::Floor;
  b[C(5, 20)] = Cell::Key;
  EXPECT_EQ(DoorsWithoutKeys(b).size(), 2u);
}

TEST(LevelRules, CellsThatDoNotWorkInPlay) {
  LevelBytes b = Sound();
  b[C(8, 8)] = Cell::SlideUpForEditor;
  b[C(9, 8)] = 200;
  b[C(10, 8)] = Cell::Player2;
  b[C(11, 8)] = Cell::P1Bullet2;
  b[C(12, 8)] = Cell::LaserSet1_3;
  b[C(14, 2)] = Cell::BrickShootable;  // alone: crumbles
  b[C(1, 9)] = Cell::BrickShootable;   // against the frame and another: stands
  b[C(1, 10)] = Cell::BrickShootable;
  const auto warnings = Findings(b, RuleSeverity::Warning);
  EXPECT_TRUE(Mentions(warnings, C(8, 8), "lifeless obstacle"));
  EXPECT_TRUE(Mentions(warnings, C(9, 8), "invisible obstacle"));
  EXPECT_TRUE(Mentions(warnings, C(10, 8), "Stray"));
  EXPECT_TRUE(Mentions(warnings, C(11, 8), "obstacle"));
  EXPECT_TRUE(Mentions(warnings, C(12, 8), "without its laser"));
  EXPECT_TRUE(Mentions(warnings, C(14, 2), "crumbles"));
  EXPECT_FALSE(Mentions(warnings, C(1, 9), ""));
  EXPECT_FALSE(Mentions(warnings, C(1, 10), ""));
  // Warnings come in the order of their cells.
  for (size_t i = 1; i < warnings.size(); ++i) EXPECT_LE(warnings[i - 1].cell, warnings[i].cell);
}

TEST(LevelRules, OpeningsInTheOuterWallAreWarnedOncePerRun) {
  LevelBytes b = Sound();
  for (int col = 30; col < 34; ++col) b[C(col, 0)] = Cell::Floor;
  b[C(59, 20)] = Cell::Door;
  const auto warnings = Findings(b, RuleSeverity::Warning);
  EXPECT_TRUE(Mentions(warnings, C(30, 0), "(4 cells) on the top"));
  EXPECT_FALSE(Mentions(warnings, C(31, 0), ""));
  EXPECT_TRUE(Mentions(warnings, C(59, 20), "on the right"));
}

}  // namespace

namespace {

// The shipped levels keep the rules without a warning: the warnings name real faults.
TEST(LevelRules, ShippedLevelsHaveNoFindings) {
  for (int n = 0;; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "/FELDS/FELD.%02d", n);
    const OpenedLevel opened = OpenLevel(std::string(TROK_GAME_DIR) + name);
    if (!opened.document) {
      EXPECT_GE(n, 20);
      break;
    }
    for (const RuleFinding& f : CheckLevelRules(opened.document->Bytes())) ADD_FAILURE() << name << ": " << f.text;
  }
}

}  // namespace
