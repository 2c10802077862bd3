// The autopilot's way-finding and reflexes on small hand-drawn rooms.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "support/fake_host.h"
#include "trok_autoplay/dangers.h"
#include "trok_autoplay/pilot.h"
#include "trok_autoplay/tactics.h"

namespace {

// Every room walled solid, then room (rx, ry) drawn from up to 12 rows of 20
// characters; rows left out are wall.
void Draw(WorldMap& map, int rx, int ry, const std::vector<std::string>& rows) {
  for (int y = 0; y < WorldMap::RoomH; ++y)
    for (int x = 0; x < WorldMap::RoomW; ++x) {
      CellCode c = Cell::BrickSolid;
      const std::size_t row = static_cast<std::size_t>(y);
      switch (row < rows.size() ? rows[row][static_cast<std::size_t>(x)] : '#') {
        case '.': c = Cell::Floor; break;
        case 'a': c = Cell::Ant; break;
        case 'c': c = Cell::Chigger; break;
        case 'k': c = Cell::Key; break;
        case 'D': c = Cell::Door; break;
        case 'E': c = Cell::Finish; break;
        case 'x': c = Cell::DeathField; break;
        case 'v': c = Cell::SlideDown; break;
        case 'o': c = Cell::SlideFieldOmni; break;
        case '>': c = Cell::Fire3; break;
        case 'L': c = Cell::LaserSet1P5; break;
        case 'P': c = Cell::Player1; break;
        case 'Q': c = Cell::Player2; break;
        default: break;
      }
      map.At(WorldMap::InRoom(rx, ry, x, y)) = c;
    }
}

WorldMap Walled() {
  WorldMap map;
  map.cells.fill(Cell::BrickSolid);
  map.roomX = map.roomY = 1;
  return map;
}

int C(int x, int y) { return WorldMap::InRoom(1, 1, x, y); }

bool Visits(const Path& path, int cell) {
  return std::any_of(path.steps.begin(), path.steps.end(), [&](const PathStep& s) { return s.to == cell; });
}

const std::vector<std::string> Corridor = {
    "####################", "#..................#", "#..................#", "#########.##########",
    "#########.##########", "#########.##########", "#########.##########", "#########.##########",
    "#########.##########", "#########.##########", "#########.##########", "####################"};

TEST(AutoplayPathTest, GoesRoundWhatKillsAndShootsThroughWhatBlocks) {
  WorldMap map = Walled();
  Draw(map, 1, 1, Corridor);
  map.At(C(9, 6)) = Cell::DeathField;  // the only way down: no way at all
  Path path = FindPath(map, C(1, 1), {C(9, 10)}, PathRules{});
  EXPECT_FALSE(path.found);

  map.At(C(9, 6)) = Cell::Chigger;  // four shots, but a way
  path = FindPath(map, C(1, 1), {C(9, 10)}, PathRules{});
  ASSERT_TRUE(path.found);
  EXPECT_TRUE(Visits(path, C(9, 6)));

  // With a free way round, the creature is not shot at.
  map.At(C(5, 1)) = Cell::Chigger;
  path = FindPath(map, C(1, 1), {C(18, 1)}, PathRules{});
  ASSERT_TRUE(path.found);
  EXPECT_FALSE(Visits(path, C(5, 1)));
  EXPECT_TRUE(Visits(path, C(5, 2)));
}

TEST(AutoplayPathTest, DoorsTakeAKeyAndTheFinishIsNeverWalkedThrough) {
  WorldMap map = Walled();
  Draw(map, 1, 1, Corridor);
  map.At(C(9, 5)) = Cell::Door;
  PathRules rules;
  rules.door = C(9, 5);
  EXPECT_FALSE(FindPath(map, C(1, 1), {C(9, 10)}, rules).found) << "no key";
  rules.keys = 1;
  EXPECT_TRUE(FindPath(map, C(1, 1), {C(9, 10)}, rules).found);
  rules.door = -1;  // not the door the route opens here
  EXPECT_FALSE(FindPath(map, C(1, 1), {C(9, 10)}, rules).found);

  map.At(C(9, 5)) = Cell::Finish;
  EXPECT_FALSE(FindPath(map, C(1, 1), {C(9, 10)}, PathRules{}).found);
  const Path toFinish = FindPath(map, C(1, 1), {C(9, 5)}, PathRules{});
  ASSERT_TRUE(toFinish.found);
  EXPECT_EQ(toFinish.steps.back().to, C(9, 5));
}

TEST(AutoplayPathTest, SlidesCarryAndRefuseAsTheGameDoes) {
  WorldMap map = Walled();
  Draw(map, 1, 1,
       {"####################", "#..................#", "#....v.............#", "#....v.............#",
        "#....v.............#", "#....#.............#", "####################", "####################",
        "####################", "####################", "####################", "####################"});
  // Stepped onto from the side, a slide down carries on down to the first other cell:
  // a wall there refuses it, a floor cell ends it.
  EXPECT_EQ(SlideEnd(map, C(5, 2), 3), -1);
  map.At(C(5, 5)) = Cell::Floor;
  EXPECT_EQ(SlideEnd(map, C(5, 2), 3), C(5, 5));
  const Path path = FindPath(map, C(4, 2), {C(5, 5)}, PathRules{});
  ASSERT_TRUE(path.found);
  ASSERT_EQ(path.steps.size(), 1u);
  EXPECT_EQ(path.steps[0].kind, StepKind::Slide);
  // One that would run out of the room is refused.
  for (int y = 5; y < 12; ++y) map.At(C(5, y)) = Cell::SlideDown;
  EXPECT_EQ(SlideEnd(map, C(5, 2), 5), -1);
}

TEST(AutoplayPathTest, CrossesStraightIntoTheNextRoomAndLandsOnWhatever) {
  WorldMap map = Walled();
  Draw(map, 1, 1, Corridor);
  map.At(C(9, 11)) = Cell::Floor;  // an opening in the bottom edge
  // The room below: its top row is wall, yet landing overwrites it.
  Draw(map, 1, 2,
       {"####################", "#..................#", "#................E.#", "####################",
        "####################", "####################", "####################", "####################",
        "####################", "####################", "####################", "####################"});
  const int finish = WorldMap::InRoom(1, 2, 17, 2);
  const Path path = FindPath(map, C(1, 1), {finish}, PathRules{});
  ASSERT_TRUE(path.found);
  const auto cross = std::find_if(path.steps.begin(), path.steps.end(),
                                  [](const PathStep& s) { return s.kind == StepKind::Cross; });
  ASSERT_NE(cross, path.steps.end());
  EXPECT_EQ(cross->from, C(9, 11));
  EXPECT_EQ(cross->dir, 5);
  EXPECT_EQ(cross->to, WorldMap::InRoom(1, 2, 9, 0));
  // Corners give no diagonal crossing (two players could not take it).
  EXPECT_EQ(WorldMap::Landing(C(19, 11), 4), -1);
  EXPECT_EQ(WorldMap::Landing(C(19, 11), 3), WorldMap::InRoom(2, 1, 0, 11));
}

TEST(AutoplayReflexTest, ShootsOnlyWhatHasAClearLine) {
  WorldMap map = Walled();
  Draw(map, 1, 1,
       {"####################", "#..................#", "#.P...a............#", "#..................#",
        "#..#...............#", "#..a...............#", "####################", "####################",
        "####################", "####################", "####################", "####################"});
  int distance = 0;
  EXPECT_EQ(ThreatInLine(map, C(2, 2), distance), 3);  // right, four cells away
  EXPECT_EQ(distance, 4);
  map.At(C(5, 2)) = Cell::BrickSolid;  // now behind a wall; the one below is behind one too
  EXPECT_EQ(ThreatInLine(map, C(2, 2), distance), 0);
  map.At(C(3, 4)) = Cell::Floor;  // down-right is not its line; straight down is clear
  map.At(C(3, 5)) = Cell::Floor;
  map.At(C(2, 5)) = Cell::Ant;
  EXPECT_EQ(ThreatInLine(map, C(2, 2), distance), 5);
  EXPECT_EQ(distance, 3);
}

TEST(AutoplayReflexTest, DartsAndLasersAboutToStrikeAreDeadly) {
  WorldMap map = Walled();
  Draw(map, 1, 1,
       {"####################", "#..................#", "#..>...............#", "#..........L.......#",
        "#..................#", "#..................#", "####################", "####################",
        "####################", "####################", "####################", "####################"});
  WorldClock clock;
  clock.c0 = 64 * 5 - 3;  // set 1 fires in three ticks
  Dangers d = DangersOf(map, clock);
  EXPECT_TRUE(d.deadly[static_cast<std::size_t>(C(4, 2))]);   // the dart's next cell
  EXPECT_FALSE(d.deadly[static_cast<std::size_t>(C(2, 2))]);  // behind it
  EXPECT_TRUE(d.deadly[static_cast<std::size_t>(C(11, 4))]);  // under the laser
  clock.c0 = 64 * 5 + 20;
  d = DangersOf(map, clock);
  EXPECT_FALSE(d.deadly[static_cast<std::size_t>(C(11, 4))]);
  EXPECT_EQ(TicksToLaserFire(clock, 1), 44);

  // A player standing where the dart goes steps off its line.
  map.At(C(4, 2)) = Cell::Player1;
  PlayerState me;
  me.X = 4;
  me.Y = 2;
  me.Life = 90;
  const Intent dodge = Reflexes(map, me, DangersOf(map, clock));
  ASSERT_NE(dodge.dir, 0);
  EXPECT_NE(dodge.dir, 3);
  EXPECT_NE(dodge.dir, 7);
  EXPECT_FALSE(dodge.fire);
}

TEST(AutoplayTeamTest, PartnerLinesUpWhereItsLandingJoinsTheLeaders) {
  WorldMap map = Walled();
  // Two openings in the bottom edge besides the leader's (x 9): x 12 and x 4.
  Draw(map, 1, 1,
       {"####################", "#..................#", "#..................#", "#..................#",
        "#..................#", "#..................#", "#..................#", "#..................#",
        "#..................#", "#..................#", "#.Q................#", "####.####P##.#######"});
  // Below, x 12 lands in a walled pocket; x 4 lands beside the leader's way on.
  Draw(map, 1, 2,
       {"####.####.##.#######", "#...........#......#", "#...........#......#", "#############......#",
        "####################", "####################", "####################", "####################",
        "####################", "####################", "####################", "####################"});
  map.At(WorldMap::InRoom(1, 2, 13, 1)) = Cell::BrickSolid;
  map.At(WorldMap::InRoom(1, 2, 12, 1)) = Cell::BrickSolid;
  map.At(WorldMap::InRoom(1, 2, 12, 2)) = Cell::BrickSolid;
  map.At(WorldMap::InRoom(1, 2, 13, 2)) = Cell::BrickSolid;
  map.At(WorldMap::InRoom(1, 2, 11, 1)) = Cell::BrickSolid;
  map.At(WorldMap::InRoom(1, 2, 11, 2)) = Cell::BrickSolid;
  PathRules rules;
  EXPECT_EQ(PartnerCrossingCell(map, C(9, 11), 5, C(2, 10), rules), C(4, 11));
  // With x 4 closed, nothing else joins: no place to cross together.
  map.At(C(4, 11)) = Cell::BrickSolid;
  EXPECT_EQ(PartnerCrossingCell(map, C(9, 11), 5, C(2, 10), rules), -1);
}

TEST(AutoplayTeamTest, PartnerOnTheEdgeLineCrossesOnlyWhereItJoinsTheLeader) {
  // The partner already stands in an opening of the same edge as the leader's exit,
  // but it leads into a pocket below: crossing there would part the two for good.
  WorldMap map = Walled();
  std::vector<std::string> hall(11, "#..................#");
  hall[0] = "####################";
  hall.push_back("####Q####P##########");
  Draw(map, 1, 1, hall);
  Draw(map, 1, 2, {"####.####.##########", "#########.....E....#"});
  RoutePlan plan;
  plan.ok = true;
  plan.goals.push_back({Goal::Kind::Finish, WorldMap::InRoom(1, 2, 14, 1)});
  Tactics tactics(plan);
  FakeHost host;
  Game game(host);
  game.PlayerCount = 2;
  game.Player1.Life = game.Player2.Life = 90;
  game.Player1.X = 9, game.Player1.Y = 11;
  game.Player2.X = 4, game.Player2.Y = 11;
  std::array<Intent, 2> intents = tactics.Decide(map, game);
  EXPECT_NE(intents[1].dir, 5) << intents[1].doing;

  // Opened towards the leader's way below, the same opening is a good place to cross.
  map.At(WorldMap::InRoom(1, 2, 4, 1)) = Cell::Floor;
  for (int x = 5; x < 9; ++x) map.At(WorldMap::InRoom(1, 2, x, 1)) = Cell::Floor;
  intents = tactics.Decide(map, game);
  EXPECT_EQ(intents[1].dir, 5) << intents[1].doing;
}

TEST(AutoplayTeamTest, LeaderOnTheOnlyWayToTheEdgeMakesWayAlongItAndBothCross) {
  // Ice runs down to the leader's exit (3,11); the other edge cell, (4,11), is reached
  // only by a step from it.
  WorldMap map = Walled();
  std::vector<std::string> rink = {"####################", "#..................#", "#..Q...............#"};
  rink.resize(11, "###o################");
  rink.push_back("###P.###############");
  Draw(map, 1, 1, rink);
  Draw(map, 1, 2, {"###..###############", "#.E................#"});
  RoutePlan plan;
  plan.ok = true;
  plan.goals.push_back({Goal::Kind::Finish, WorldMap::InRoom(1, 2, 2, 1)});
  Tactics tactics(plan);
  FakeHost host;
  Game game(host);
  game.PlayerCount = 2;
  game.Player1.Life = game.Player2.Life = 90;
  game.Player1.X = 3, game.Player1.Y = 11;
  game.Player2.X = 3, game.Player2.Y = 2;

  // The partner's slide would end on the leader: it waits while the leader steps along.
  std::array<Intent, 2> intents = tactics.Decide(map, game);
  EXPECT_EQ(intents[0].dir, 3) << intents[0].doing;
  EXPECT_EQ(intents[1].dir, 0) << intents[1].doing;
  EXPECT_NE(intents[1].doing, "no way on");

  map.At(C(3, 11)) = Cell::Floor;
  map.At(C(4, 11)) = Cell::Player1;
  game.Player1.X = 4;
  intents = tactics.Decide(map, game);
  EXPECT_EQ(intents[1].dir, 5) << "slide down to the leader's exit: " << intents[1].doing;

  // Side by side on the edge, the partner on the leader's exit: both step over.
  map.At(C(3, 2)) = Cell::Floor;
  map.At(C(3, 11)) = Cell::Player2;
  game.Player2.Y = 11;
  intents = tactics.Decide(map, game);
  EXPECT_EQ(intents[0].dir, 5) << intents[0].doing;
  EXPECT_EQ(intents[1].dir, 5) << intents[1].doing;
}

}  // namespace
