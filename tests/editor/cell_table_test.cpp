// The cell table is the one meaning of every code: each place that names, draws,
// groups or classifies codes must say what its row says.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "authoring/cell_wording.h"
#include "authoring/level_text.h"
#include "editor/palette.h"
#include "play/darts_lasers.h"
#include "world/cell_kinds.h"
#include "world/tile_names.h"
#include "world/world_grid.h"

namespace {

TEST(CellTable, EveryCodeHasExactlyOneRowAndEveryNameOnce) {
  std::set<std::string> names;
  for (int c = 0; c < CellCodeCount; ++c) {
    EXPECT_EQ(CellTable[c].code, c);
    EXPECT_TRUE(names.insert(CellTable[c].name).second) << CellTable[c].name;
  }
  EXPECT_EQ(KindOf(Cell::Unknown), ThingKind::Unused);
  EXPECT_EQ(KindOf(-1), ThingKind::Unused);
  EXPECT_EQ(KindOf(200), ThingKind::Unused);
}

TEST(CellTable, PicturesAndLegendAgreeWithTheRows) {
  for (int c = 0; c < CellCodeCount; ++c) {
    const CellRow& row = CellTable[c];
    EXPECT_EQ(HasTilePicture(c), row.tile != nullptr) << c;
    if (row.tile) {
      const std::string file = row.tile;
      EXPECT_EQ(file.substr(0, 2), (c < 10 ? "0" : "") + std::to_string(c)) << file;
      EXPECT_STREQ(TilePictureFile(c), row.tile);
    }
    EXPECT_EQ(LegendCharOf(static_cast<uint8_t>(c)), row.legend) << c;
    if (row.legend) EXPECT_EQ(LegendValueOf(row.legend), c) << row.legend;
  }
  EXPECT_EQ(LegendValueOf('?'), -1);
  EXPECT_EQ(LegendValueOf(0), -1);
  EXPECT_EQ(LegendCharOf(200), 0);
  int pictures = 0;
  for (const TilePicture& t : TilePictures) {
    EXPECT_STREQ(TilePictureFile(t.code), t.file);
    ++pictures;
  }
  EXPECT_EQ(pictures, 88);
}

TEST(CellTable, ClassifyingPlacesAgreeWithTheKinds) {
  for (int c = -2; c < CellCodeCount + 2; ++c) {
    const ThingKind k = KindOf(c);
    EXPECT_EQ(CodeIsPlayer(c), k == ThingKind::Player) << c;
    EXPECT_EQ(CodeIsPlayerShot(c), k == ThingKind::Bullet) << c;
    EXPECT_EQ(CodeIsLaserBeam(c), k == ThingKind::LaserBeam) << c;
    EXPECT_EQ(CodeIsDart(c), k == ThingKind::Dart) << c;
    EXPECT_EQ(CodeIsDartTarget(c), k == ThingKind::Creature || k == ThingKind::Producer) << c;
    EXPECT_EQ(LaserSetOfBeam(c) != 0, k == ThingKind::LaserBeam) << c;
    EXPECT_EQ(LaserSetOfProducer(c) != 0, k == ThingKind::Laser) << c;
    EXPECT_EQ(ScanOf(c) == ScanMove::BeamOff, k == ThingKind::LaserBeam) << c;
    EXPECT_EQ(ScanOf(c) == ScanMove::LaserFire, k == ThingKind::Laser) << c;
    EXPECT_EQ(ScanOf(c) == ScanMove::Dart, k == ThingKind::Dart) << c;
    EXPECT_STREQ(NameOfCode(c), CellRowOf(c).wording) << c;
  }
}

TEST(CellTable, ThePaletteOffersEachPlacedCodeOnceInItsGroupAndSlot) {
  const auto& groups = PaletteGroups();
  ASSERT_EQ(groups.size(), 10u);
  std::set<int> seen;
  for (size_t g = 0; g < groups.size(); ++g)
    for (size_t e = 0; e < groups[g].entries.size(); ++e) {
      const PaletteEntry& entry = groups[g].entries[e];
      ASSERT_NE(entry.name, nullptr) << "a hole in group " << groups[g].name;
      const CellRow& row = CellTable[entry.code];
      EXPECT_EQ(static_cast<size_t>(row.paletteGroup), g + 1);
      EXPECT_EQ(static_cast<size_t>(row.paletteSlot), e);
      EXPECT_TRUE(seen.insert(entry.code).second) << int(entry.code);
    }
  for (int c = 0; c < CellCodeCount; ++c)
    EXPECT_EQ(seen.count(c) == 1, CellTable[c].paletteGroup != PaletteGroup::None) << c;
  for (int c = 0; c <= 68; ++c) EXPECT_EQ(seen.count(c), 1u) << c;
  // The editor-only codes are the pictures that death fields and slides wear.
  const std::set<int> editorOnly = {43, 44, 45, 46, 47, 68};
  for (int b = 0; b < 256; ++b)
    EXPECT_EQ(IsEditorOnlyCode(static_cast<uint8_t>(b)), editorOnly.count(b) == 1) << b;
}

TEST(CellTable, LevelsLegendFileIsTheOneTheTableMakes) {
  std::ifstream in(TROK_SOURCE_DIR "/levels/LEGEND.md", std::ios::binary);
  ASSERT_TRUE(in);
  std::stringstream text;
  text << in.rdbuf();
  const std::string file = text.str();
  const std::string begin = "<!-- legend: made from src/world/cell_kinds.h -->\n";
  const std::string end = "<!-- end of legend -->";
  const auto from = file.find(begin), to = file.find(end);
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos);
  const std::string shown = file.substr(from + begin.size(), to - from - begin.size());
  EXPECT_EQ(shown, LegendMarkdown())
      << "levels/LEGEND.md is out of step with the cell table; its legend should read:\n"
      << LegendMarkdown();
}

}  // namespace
