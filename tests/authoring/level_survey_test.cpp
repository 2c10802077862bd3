// The designer's measures over a set of levels: how alike two rooms are, filler, threats
// and the rank correlation the difficulty table reports.
#include <gtest/gtest.h>

#include "authoring/level_survey.h"
#include "support/level_sketch.h"

namespace {

// Room (1,1) covers rows 12..23 and columns 20..39.
constexpr int MiddleRoom = 4;

TEST(RoomShare, CountsTheCellsThatHoldTheSameCodeAmongThoseThatHoldAnything) {
  MapSketch a, b;
  a.Put(15, 25, "###").Set(16, 25, '$');
  b.Put(15, 25, "###").Set(16, 25, 'k').Set(18, 30, '#');
  // Either room holds something on 5 cells; 3 hold the same code in both.
  EXPECT_DOUBLE_EQ(RoomShare(a.Bytes(), MiddleRoom, b.Bytes(), MiddleRoom), 3.0 / 5.0);
  EXPECT_DOUBLE_EQ(RoomShare(a.Bytes(), MiddleRoom, a.Bytes(), MiddleRoom), 1.0);
  // Bare floor against bare floor says nothing.
  EXPECT_DOUBLE_EQ(RoomShare(MapSketch().Bytes(), MiddleRoom, MapSketch().Bytes(), MiddleRoom), 0.0);
}

TEST(RoomShare, ComparesRoomsAsTheyStandNeitherMirroredNorMoved) {
  MapSketch a, mirrored;
  a.Put(14, 21, "##$");
  mirrored.Put(14, 36, "$##");  // the same row mirrored left to right within the room
  EXPECT_DOUBLE_EQ(RoomShare(a.Bytes(), MiddleRoom, mirrored.Bytes(), MiddleRoom), 0.0);
  // Rooms are compared cell for cell within the room, wherever the room lies.
  MapSketch closed, moved;
  closed.CloseAllRooms().Put(14, 21, "##$");
  moved.CloseAllRooms().Put(2, 1, "##$");
  EXPECT_DOUBLE_EQ(RoomShare(closed.Bytes(), MiddleRoom, moved.Bytes(), 0), 1.0);
}

TEST(AlikeRooms, PairsEveryRoomOnlyWithRoomsOfOtherLevelsMostAlikeFirst) {
  MapSketch a, b, c;
  a.Put(14, 22, "#####");
  b.Put(14, 22, "#####");  // room (1,1) of a and b are the same
  c.Put(14, 22, "###$$");
  const std::vector<RoomPair> pairs = AlikeRooms({a.Bytes(), b.Bytes(), c.Bytes()});
  ASSERT_EQ(pairs.size(), 3u * 81u);
  for (const RoomPair& p : pairs) EXPECT_NE(p.levelA, p.levelB);
  for (std::size_t i = 1; i < pairs.size(); ++i) EXPECT_GE(pairs[i - 1].share, pairs[i].share);
  EXPECT_EQ(pairs[0].share, 1.0);
  EXPECT_EQ(pairs[0].levelA, 0);
  EXPECT_EQ(pairs[0].levelB, 1);
}

TEST(RoomFiller, InnerCellsLeaveOutTheOuterRingAndFourCornersNeedAllFour) {
  MapSketch m;
  m.CloseAllRooms();
  EXPECT_EQ(InnerCells(m.Bytes(), MiddleRoom), 0);
  m.Set(13, 21, '$').Set(13, 38, '$').Set(22, 21, '$');
  EXPECT_EQ(InnerCells(m.Bytes(), MiddleRoom), 3);
  EXPECT_EQ(FourCornerCopy(m.Bytes(), MiddleRoom), -1);
  m.Set(22, 38, '$');
  EXPECT_EQ(FourCornerCopy(m.Bytes(), MiddleRoom), 18);  // gold
  // Walls standing symmetrically are the room's shape, not a copied object.
  MapSketch walls;
  walls.Set(14, 23, '#').Set(14, 36, '#').Set(21, 23, '#').Set(21, 36, '#');
  EXPECT_EQ(FourCornerCopy(walls.Bytes(), MiddleRoom), -1);
}

TEST(Threats, AreCountedByKind) {
  MapSketch m;
  m.Put(2, 2, "adcgfhp").Put(3, 2, "ADCFRH56789").Put(4, 2, "TT").Put(5, 2, "LlMmNnWw").Put(6, 2, "!!!");
  m.Put(7, 2, "$k|+*o>");  // pick-ups, stars and slides threaten no one
  const ThreatCount t = CountThreats(m.Bytes());
  EXPECT_EQ(t.creatures, 7);
  EXPECT_EQ(t.producers, 11);
  EXPECT_EQ(t.dartProducers, 2);
  EXPECT_EQ(t.lasers, 8);
  EXPECT_EQ(t.mines, 3);
  EXPECT_EQ(t.Total(), 31);
}

TEST(RankCorrelation, RanksTiesAtTheirMeanRank) {
  EXPECT_DOUBLE_EQ(RankCorrelation({1, 2, 3, 4}, {10, 20, 30, 400}), 1.0);
  EXPECT_DOUBLE_EQ(RankCorrelation({1, 2, 3, 4}, {4, 3, 2, 1}), -1.0);
  // y ranks 1.5, 1.5, 3, 4 against 1..4.
  EXPECT_NEAR(RankCorrelation({1, 2, 3, 4}, {0, 0, 5, 9}), 0.9486832980505138, 1e-12);
  EXPECT_DOUBLE_EQ(RankCorrelation({1, 2, 3}, {7, 7, 7}), 0.0);
  EXPECT_DOUBLE_EQ(RankCorrelation({1}, {1}), 0.0);
}

}  // namespace
