// The cell table is the one meaning of every code: each place that names, draws,
// groups or classifies codes must say what its row says.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "authoring/cell_wording.h"
#include "authoring/level_text.h"
#include "editor/palette.h"
#include "play/creatures.h"
#include "play/darts_lasers.h"
#include "play/pickups.h"
#include "play/player_control.h"
#include "play/shots.h"
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
    EXPECT_EQ(CodeIsSlide(c), TouchOf(c) == Touch::Slide) << c;
    EXPECT_EQ(SlideDirectionOf(c) != Dir::None, CodeIsSlide(c) && c != Cell::SlideFieldOmni) << c;
    EXPECT_EQ(ContactDamage(static_cast<CellCode>(c)), CellRowOf(c).contactDamage) << c;
  }
  // The game's own cell tests, on a room holding each code in turn.
  WorldGrid world;
  for (int c = 0; c < CellCodeCount; ++c) {
    world.At(5, 5) = static_cast<CellCode>(c);
    EXPECT_EQ(PlayerCanEnter(world, 5, 5), PlayerCanEnterCode(c)) << c;
    EXPECT_EQ(CellIsShootable(world, 5, 5), CodeIsShootable(c)) << c;
    EXPECT_EQ(CellIsSlide(world, 5, 5), CodeIsSlide(c)) << c;
  }
}

// What a player may step on and what a shot hits, as the game has always had them:
// a row that says otherwise changes the game.
TEST(CellTable, TouchAndShotColumnsKeepTheGamesRules) {
  const std::set<int> enterable = {0,  16, 17, 18, 19, 20, 24, 33, 34, 35, 36, 38, 39, 40,
                                   41, 42, 48, 49, 50, 51, 93, 94, 95, 96, 97, 98};
  const std::set<int> shootable = {2,  3,  4,  5,  6,  7,  9,  10, 11, 12, 13, 14,
                                   15, 17, 22, 31, 32, 33, 34, 35, 36};
  const std::map<int, int> contact = {{2, 10}, {3, 20}, {4, 30}, {5, 40},
                                      {6, 50}, {7, 90}, {8, 50}, {13, 50}};
  struct Outcome {
    int code, becomes, points;
  };
  const Outcome outcomes[] = {{2, 0, 10},  {3, 2, 20},  {4, 3, 30},  {5, 4, 40},  {6, 0, 25},
                              {7, 0, 25},  {9, 0, 50},  {10, 9, 70}, {11, 10, 90}, {12, 0, 75},
                              {13, 0, 100}, {22, 0, 0}, {32, 3, 5},  {33, 0, 3},  {34, 0, 3},
                              {35, 0, 5},  {36, 0, 7}};
  for (int c = 0; c < CellCodeCount; ++c) {
    EXPECT_EQ(PlayerCanEnterCode(c), enterable.count(c) == 1) << c;
    EXPECT_EQ(CodeIsShootable(c), shootable.count(c) == 1) << c;
    EXPECT_EQ(CellTable[c].contactDamage, contact.count(c) ? contact.at(c) : 0) << c;
  }
  for (const Outcome& o : outcomes) {
    EXPECT_EQ(CellTable[o.code].shot, ShotEffect::Becomes) << o.code;
    EXPECT_EQ(CellTable[o.code].shotBecomes, o.becomes) << o.code;
    EXPECT_EQ(CellTable[o.code].shotPoints, o.points) << o.code;
  }
  EXPECT_EQ(ShotOf(Cell::HorseP), ShotEffect::Scatters);
  EXPECT_EQ(CellTable[Cell::HorseP].shotPoints, 150);
  EXPECT_EQ(ShotOf(Cell::Heart), ShotEffect::Revives);
  EXPECT_EQ(ShotOf(Cell::Bomb), ShotEffect::Explodes);
  EXPECT_EQ(ShotOf(Cell::FireP), ShotEffect::Absorbs);
  EXPECT_EQ(SlideDirectionOf(Cell::SlideRight), Dir::Right);
  EXPECT_EQ(SlideDirectionOf(Cell::SlideLeft), Dir::Left);
  EXPECT_EQ(SlideDirectionOf(Cell::SlideUp), Dir::Up);
  EXPECT_EQ(SlideDirectionOf(Cell::SlideDown), Dir::Down);
}

TEST(CellTable, LaserAndDartColumnsKeepTheGamesRules) {
  // producer -> the beam it puts out, its set, whether it fires right
  struct Laser {
    int producer, beam, set;
    bool right;
  };
  const Laser lasers[] = {{56, 41, 1, true}, {57, 40, 1, false}, {54, 93, 2, true},
                          {55, 94, 2, false}, {52, 95, 3, true}, {53, 96, 3, false},
                          {58, 97, 4, true}, {59, 98, 4, false}};
  std::set<int> lasersSeen, beamsSeen;
  for (const Laser& l : lasers) {
    EXPECT_EQ(LaserBeamOf(static_cast<CellCode>(l.producer)), l.beam) << l.producer;
    EXPECT_EQ(LaserSetOfProducer(l.producer), l.set) << l.producer;
    EXPECT_EQ(LaserSetOfBeam(l.beam), l.set) << l.beam;
    EXPECT_EQ(LaserFiresRight(static_cast<CellCode>(l.producer)), l.right) << l.producer;
    EXPECT_EQ(IsLaserFiring(l.producer, Dir::Down), !l.right) << l.producer;
    lasersSeen.insert(l.producer);
    beamsSeen.insert(l.beam);
  }
  for (int c = -2; c < CellCodeCount + 2; ++c) {
    if (!lasersSeen.count(c)) {
      EXPECT_EQ(LaserBeamOf(static_cast<CellCode>(c)), Cell::Floor) << c;
    }
    EXPECT_EQ(LaserSetOfProducer(c) != 0, lasersSeen.count(c) == 1) << c;
    EXPECT_EQ(LaserSetOfBeam(c) != 0, beamsSeen.count(c) == 1) << c;
  }
  const int darts[9] = {0, 62, 61, 67, 64, 66, 65, 63, 60};  // by direction 1..8
  for (int d = 1; d <= 8; ++d) {
    EXPECT_EQ(DartCode(d), darts[d]);
    EXPECT_EQ(DartDirection(static_cast<CellCode>(darts[d])), d);
  }
  for (int c = -2; c < CellCodeCount + 2; ++c) {
    if (!CodeIsDart(c)) {
      EXPECT_EQ(DartDirection(static_cast<CellCode>(c)), 0) << c;
    }
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
