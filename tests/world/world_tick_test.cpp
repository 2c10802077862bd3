// Pacing of the world tick and what the scan does with producers, stars and walls.
#include <array>
#include <set>
#include <vector>

#include "play/producers.h"
#include "world_fixture.h"

namespace {

class WorldTickTest : public WorldTest {};

TEST_F(WorldTickTest, ClockPhasesFromProgramStart) {
  // A joystick player is polled whenever the players move; TargetCount is refilled by
  // every scan; one laser producer of each set shows when its set fires and goes out.
  game.Player1.UsesKeyboard = false;
  const std::array<CellCode, 5> producer = {0, Cell::LaserSet1P3, Cell::LaserSet2P3,
                                            Cell::LaserSet3P3, Cell::LaserSet4P3};
  for (int set = 1; set <= 4; ++set) Put(2, 2 * set, producer[set]);

  std::vector<int> playerTicks, scanTicks;
  std::array<std::vector<int>, 5> beamStanding;
  for (int tick = 1; tick <= 130; ++tick) {
    ASSERT_EQ(game.Clock.c0, tick);
    const int polls = host.joystickPolls;
    game.World.TargetCount = -1;
    WorldTick(game);
    if (host.joystickPolls > polls) playerTicks.push_back(tick);
    if (game.World.TargetCount >= 0) scanTicks.push_back(tick);
    for (int set = 1; set <= 4; ++set)
      if (At(3, 2 * set) != Cell::Floor) beamStanding[set].push_back(tick);
  }

  ASSERT_GE(playerTicks.size(), 3u);
  EXPECT_EQ(std::vector<int>(playerTicks.begin(), playerTicks.begin() + 3), (std::vector<int>{4, 8, 12}));
  EXPECT_EQ(playerTicks.size(), 130u / 4);

  EXPECT_EQ(scanTicks, (std::vector<int>{16, 31, 32, 47, 48, 63, 64, 79, 80, 95, 96, 111, 112, 127, 128}));

  auto range = [](int from, int to) {
    std::vector<int> v;
    for (int t = from; t <= to; ++t) v.push_back(t);
    return v;
  };
  std::vector<int> set1 = range(64, 79);
  set1.insert(set1.end(), {128, 129, 130});
  EXPECT_EQ(beamStanding[1], set1);
  EXPECT_EQ(beamStanding[2], range(79, 94));
  EXPECT_EQ(beamStanding[3], range(95, 110));
  EXPECT_EQ(beamStanding[4], range(111, 126));
  EXPECT_EQ(game.Clock.c1, 131 - 15);
  EXPECT_EQ(game.Clock.c2, 131 - 31);
  EXPECT_EQ(game.Clock.c3, 131 - 47);
}

TEST_F(WorldTickTest, LaserOnlyScanLeavesEverythingElseAlone) {
  Put(10, 5, Cell::BrickShootable);  // alone: crumbles in any full scan
  Put(4, 4, Cell::LaserSet2_3);
  TickAt(31);
  EXPECT_EQ(At(10, 5), Cell::BrickShootable);
  EXPECT_EQ(At(4, 4), Cell::Floor);
  TickAt(32);
  EXPECT_EQ(At(10, 5), Cell::Floor);
}

TEST_F(WorldTickTest, ClocksKeepTheirPhaseAcrossTheWrap) {
  game.Clock = {INT32_MAX, INT32_MAX - 15, INT32_MAX - 31, INT32_MAX - 47};
  for (int i = 0; i < 3; ++i) WorldTick(game);
  EXPECT_EQ(static_cast<uint32_t>(game.Clock.c0) - static_cast<uint32_t>(game.Clock.c1), 15u);
  EXPECT_EQ(static_cast<uint32_t>(game.Clock.c0) - static_cast<uint32_t>(game.Clock.c2), 31u);
  EXPECT_EQ(static_cast<uint32_t>(game.Clock.c0) - static_cast<uint32_t>(game.Clock.c3), 47u);
  EXPECT_EQ(game.Clock.c0, INT32_MIN + 2);
}

TEST_F(WorldTickTest, MessagesArePumpedAtTheStatedPointsOfTheScan) {
  // A room full of set-1 beams: every cell goes out, and is drawn, in scan order, so
  // the number of cells drawn at each pump tells where in the scan it came.
  for (int x = 0; x < GridRoomWidth; ++x)
    for (int y = 0; y < GridRoomHeight; ++y) Put(x, y, Cell::LaserSet1_5);
  game.Player1.UsesKeyboard = false;
  std::vector<int> drawnAtPump;
  std::vector<int> pollsAtPump;
  host.onProcessMessages = [&] {
    drawnAtPump.push_back(static_cast<int>(host.drawn.size()));
    pollsAtPump.push_back(host.joystickPolls);
  };
  TickAt(16);

  std::vector<int> expected;
  for (int y = 0; y < GridRoomHeight; ++y) {
    expected.push_back(20 * y);
    if (y == 0 || y == 10) expected.push_back(20 * y);
    for (int x = 0; x < GridRoomWidth; x += 5) expected.push_back(20 * y + x);
  }
  ASSERT_GE(drawnAtPump.size(), expected.size());
  EXPECT_EQ(std::vector<int>(drawnAtPump.end() - static_cast<long>(expected.size()), drawnAtPump.end()),
            expected);
  // The first pump of the tick comes before the players move.
  EXPECT_EQ(pollsAtPump.front(), 0);
  EXPECT_EQ(host.joystickPolls, 1);
  EXPECT_EQ(CountInRoom(Cell::Floor), RoomCells);
}

TEST_F(WorldTickTest, AnObjectMovingAlongTheScanActsOnce) {
  Put(2, 5, Cell::Fire3);
  Put(4, 2, Cell::Fire5);
  FullScan();
  EXPECT_EQ(At(3, 5), Cell::Fire3);
  EXPECT_EQ(At(4, 5), Cell::Floor);
  EXPECT_EQ(At(4, 3), Cell::Fire5);
  EXPECT_EQ(At(4, 4), Cell::Floor);
  EXPECT_EQ(CountInRoom(Cell::Fire3) + CountInRoom(Cell::Fire5), 2);
}

TEST_F(WorldTickTest, AnObjectOverwrittenEarlierInTheScanStillActs) {
  // The dart takes the Devil's cell first; the Devil then steps from its snapshot
  // position towards the player and leaves the dart where it is.
  Put(4, 5, Cell::Fire3);
  Put(5, 5, Cell::Devil);
  PlacePlayer(1, 5, 9);
  FullScan();
  EXPECT_EQ(At(5, 5), Cell::Fire3);
  EXPECT_EQ(At(5, 6), Cell::Devil);
}

TEST_F(WorldTickTest, ChangesMadeWhileMessagesArePumpedDoNotStopTheScan) {
  // Something cleared during the scan (a bomb going off, say) still acts from the snapshot.
  Put(10, 8, Cell::Fire3);
  host.onProcessMessages = [&] {
    if (At(10, 8) == Cell::Fire3 && game.World.Snapshot(10, 8) == Cell::Fire3) Put(10, 8, Cell::Floor);
  };
  FullScan();
  EXPECT_EQ(At(11, 8), Cell::Fire3);
  EXPECT_EQ(At(10, 8), Cell::Floor);
}

TEST_F(WorldTickTest, ALevelLoadedDuringTheScanEndsIt) {
  // A warp handled while the scan pumps messages replaces the level: the old room's
  // creatures must not act on in the new one.
  Put(10, 6, Cell::Devil);
  PlacePlayer(1, 10, 2);
  int pumps = 0;
  host.onProcessMessages = [&] {
    if (++pumps != 8) return;  // inside the scan, before row 6
    game.World.ClearWorld();
    game.World.SetCurrentRoom(RoomX, RoomY);
  };
  FullScan();
  EXPECT_EQ(CountInRoom(Cell::Devil), 0);
  EXPECT_EQ(CountInRoom(Cell::Floor), RoomCells);
}

TEST_F(WorldTickTest, ShootableWallsCrumbleWhenNearlyAlone) {
  // Two side by side: each sees only the other.
  Put(3, 3, Cell::BrickShootable);
  Put(4, 3, Cell::BrickShootable);
  // Walls above and below keep it.
  Put(10, 4, Cell::BrickSolid);
  Put(10, 5, Cell::BrickShootable);
  Put(10, 6, Cell::BrickShootable);
  Put(10, 7, Cell::BrickSolid);
  // Edge bricks and enemy walls do not hold it up.
  Put(15, 4, Cell::BrickSolidEdge);
  Put(15, 5, Cell::BrickShootable);
  Put(15, 6, Cell::BrickEnemyTrans);
  Put(14, 5, Cell::BrickEnemyTrans);
  // On the room's edge, the cells beyond do not count.
  Put(0, 8, Cell::BrickShootable);
  Put(0, 9, Cell::BrickSolid);
  FullScan();
  EXPECT_EQ(At(3, 3), Cell::Floor);
  EXPECT_EQ(At(4, 3), Cell::Floor);
  EXPECT_TRUE(WasDrawn(3, 3, Cell::Floor));
  EXPECT_TRUE(WasDrawn(4, 3, Cell::Floor));
  EXPECT_EQ(At(10, 5), Cell::BrickShootable);
  EXPECT_EQ(At(10, 6), Cell::BrickShootable);
  EXPECT_EQ(At(15, 5), Cell::Floor);
  EXPECT_EQ(At(0, 8), Cell::Floor);
}

TEST_F(WorldTickTest, ACrumblingWallTakesItsNeighboursOnlyInTheNextScan) {
  for (int x = 5; x <= 7; ++x) Put(x, 5, Cell::BrickShootable);
  FullScan();
  EXPECT_EQ(At(5, 5), Cell::Floor);
  EXPECT_EQ(At(6, 5), Cell::BrickShootable);
  EXPECT_EQ(At(7, 5), Cell::Floor);
  FullScan();
  EXPECT_EQ(At(6, 5), Cell::Floor);
}

struct ProducerCase {
  CellCode producer;
  int odds;
  CellCode child;
  bool crosses;
};

TEST_F(WorldTickTest, ProducersBreedAtTheirOddsAndCrossTheRightEdge) {
  const ProducerCase cases[] = {
      {Cell::AntP, 4, Cell::Ant, true},     {Cell::DevilP, 5, Cell::Devil, true},
      {Cell::CowP, 5, Cell::Cow, true},     {Cell::FrogP, 6, Cell::Frog, false},
      {Cell::HorseP, 5, Cell::Horse, true}, {Cell::PigP5, 14, Cell::Pig, true},
  };
  for (const ProducerCase& c : cases) {
    SCOPED_TRACE(c.producer);
    game.World.ClearWorld();
    game.World.SetCurrentRoom(RoomX, RoomY);
    // odds + 1 is 1 modulo the right odds only; direction draw 6 = left.
    Put(19, 5, c.producer);
    Script({c.odds + 1, 6});
    ProducerStep(game, 19, 5, c.producer);
    EXPECT_EQ(At(18, 5), c.child);
    EXPECT_TRUE(WasDrawn(18, 5, c.child));
    EXPECT_EQ(Beside(+1, 0, 1, 5), c.crosses ? c.child : Cell::Floor);

    // A miss of the odds: nothing anywhere.
    game.World.ClearWorld();
    game.World.SetCurrentRoom(RoomX, RoomY);
    Put(19, 5, c.producer);
    Script({c.odds});
    ProducerStep(game, 19, 5, c.producer);
    EXPECT_EQ(CountInRoom(c.child), 0);
    EXPECT_EQ(Beside(+1, 0, 1, 5), Cell::Floor);
  }
}

TEST_F(WorldTickTest, AWalledInProducerOnTheEdgeStillCrosses) {
  Put(19, 5, Cell::AntP);
  Put(19, 4, Cell::BrickSolid);
  Put(18, 4, Cell::BrickSolid);
  Put(18, 5, Cell::Key);
  Put(18, 6, Cell::BrickSolid);
  Put(19, 6, Cell::Door);
  std::deque<int> draws = {1};
  for (int i = 0; i < 64; ++i) draws.push_back(i % 8);
  host.scriptedDraws = draws;
  FullScan();
  EXPECT_EQ(CountInRoom(Cell::Ant), 0);
  EXPECT_EQ(Beside(+1, 0, 1, 5), Cell::Ant);
  // Blocked on the far side as well: nothing, and nothing forced.
  Beside(+1, 0, 1, 5) = Cell::Money;
  host.scriptedDraws = draws;
  FullScan();
  EXPECT_EQ(Beside(+1, 0, 1, 5), Cell::Money);
  EXPECT_EQ(CountInRoom(Cell::Ant), 0);
}

TEST_F(WorldTickTest, SpawnAroundGivesUpAfterSixtyFourTries) {
  Put(5, 5, Cell::AntP);
  Put(5, 4, Cell::BrickSolid);  // up is blocked; right is free
  std::deque<int> draws(63, 0);
  draws.push_back(2);
  host.scriptedDraws = draws;
  EXPECT_TRUE(SpawnAround(game, 5, 5, Cell::Ant));
  EXPECT_EQ(At(6, 5), Cell::Ant);

  Put(6, 5, Cell::Floor);
  draws.assign(64, 0);
  draws.push_back(2);
  host.scriptedDraws = draws;
  EXPECT_FALSE(SpawnAround(game, 5, 5, Cell::Ant));
  EXPECT_EQ(CountInRoom(Cell::Ant), 0);
}

TEST_F(WorldTickTest, SpawnAroundNeverLeavesTheRoom) {
  Put(0, 0, Cell::AntP);
  // Up-left, up, left, down-left, up-right: all outside; then down-right.
  Script({7, 0, 6, 5, 1, 3});
  EXPECT_TRUE(SpawnAround(game, 0, 0, Cell::Ant));
  EXPECT_EQ(At(1, 1), Cell::Ant);
  EXPECT_EQ(Beside(-1, -1, 19, 11), Cell::Floor);
}

TEST_F(WorldTickTest, RandomProducerWalksThenBreedsWhereItStood) {
  Put(8, 5, Cell::RandomP);
  // Walks (1), right (2); breeds (1), kind 3 = Chigger; placed left of (8, 5) (6).
  Script({1, 2, 1, 3, 6});
  FullScan();
  EXPECT_EQ(At(9, 5), Cell::RandomP);
  EXPECT_EQ(At(7, 5), Cell::Chigger);
  EXPECT_EQ(At(8, 5), Cell::Floor);
}

TEST_F(WorldTickTest, RandomProducerBreedsEveryKindAndCrosses) {
  const CellCode kinds[] = {Cell::Ant, Cell::Devil, Cell::Cow, Cell::Chigger, Cell::Frog};
  for (int k = 0; k < 5; ++k) {
    SCOPED_TRACE(k);
    game.World.ClearWorld();
    game.World.SetCurrentRoom(RoomX, RoomY);
    Put(19, 5, Cell::RandomP);
    // Rests (0), breeds (1), kind k, placed below (4).
    Script({0, 1, k, 4});
    ProducerStep(game, 19, 5, Cell::RandomP);
    EXPECT_EQ(At(19, 6), kinds[k]);
    EXPECT_EQ(Beside(+1, 0, 1, 5), kinds[k]);
  }
}

TEST_F(WorldTickTest, PigProducersGrowAStageAtATime) {
  Put(5, 5, Cell::PigP1);
  const CellCode stages[] = {Cell::PigP2, Cell::PigP3, Cell::PigP4, Cell::PigP5};
  for (CellCode next : stages) {
    Script({0});
    FullScan();
    EXPECT_EQ(At(5, 5), next - 1);
    Script({9});
    FullScan();
    EXPECT_EQ(At(5, 5), next);
    EXPECT_TRUE(WasDrawn(5, 5, next));
  }
  // The adult breeds pigs instead of growing.
  Script({1, 2});
  FullScan();
  EXPECT_EQ(At(5, 5), Cell::PigP5);
  EXPECT_EQ(At(6, 5), Cell::Pig);
}

TEST_F(WorldTickTest, StarsSpreadAndCrossOnlyFromTheFarEdges) {
  Put(19, 5, Cell::Star);
  Put(1, 5, Cell::Star);
  // (1, 5) comes first in the scan: spreads right; then (19, 5) spreads left.
  Script({1, 2, 1, 6});
  FullScan();
  EXPECT_EQ(At(2, 5), Cell::Star);
  EXPECT_EQ(At(18, 5), Cell::Star);
  EXPECT_EQ(Beside(+1, 0, 1, 5), Cell::Star);
  for (int x = 0; x < GridRoomWidth; ++x)
    for (int y = 0; y < GridRoomHeight; ++y) EXPECT_EQ(Beside(-1, 0, x, y), Cell::Floor);

  // Missed odds: no spreading and no crossing.
  Beside(+1, 0, 1, 5) = Cell::Floor;
  const int stars = CountInRoom(Cell::Star);
  host.scriptedDraws.assign(40, 0);
  FullScan();
  EXPECT_EQ(CountInRoom(Cell::Star), stars);
  EXPECT_EQ(Beside(+1, 0, 1, 5), Cell::Floor);
}

TEST_F(WorldTickTest, EveryChangedCellIsDrawnInABusyRoomOverManyTicks) {
  // A room with everything that acts, run for a few laser cycles on seeded dice: every
  // cell whose code changed was drawn with its new code, and nothing strays out of the
  // room except through the edges.
  host.rng.seed(99);
  const CellCode things[] = {Cell::AntP,  Cell::DevilP,      Cell::CowP,        Cell::FrogP,
                             Cell::RandomP, Cell::HorseP,    Cell::PigP1,       Cell::PigP5,
                             Cell::Star,  Cell::FireP,       Cell::Ant,         Cell::Horse,
                             Cell::Frog,  Cell::Fire8,       Cell::Fire2,       Cell::Fire6,
                             Cell::Fire4, Cell::LaserSet1P3, Cell::LaserSet2P5, Cell::LaserSet3P3,
                             Cell::LaserSet4P5, Cell::BrickShootable, Cell::BrickEnemyTrans,
                             Cell::Key,   Cell::BrickSolid};
  int i = 0;
  for (int y = 0; y < GridRoomHeight; y += 2)
    for (int x = (y / 2) % 2; x < GridRoomWidth; x += 3) Put(x, y, things[i++ % std::size(things)]);
  Put(10, 11, Cell::Player1);
  Put(3, 0, Cell::Player2);

  for (int tick = 1; tick <= 300; ++tick) {
    std::array<CellCode, RoomCells> before{};
    for (int x = 0; x < GridRoomWidth; ++x)
      for (int y = 0; y < GridRoomHeight; ++y) before[SnapshotIndex(x, y)] = At(x, y);
    host.drawn.clear();
    WorldTick(game);
    for (int x = 0; x < GridRoomWidth; ++x)
      for (int y = 0; y < GridRoomHeight; ++y) {
        if (At(x, y) == before[SnapshotIndex(x, y)]) continue;
        int last = -1;
        for (const auto& d : host.drawn)
          if (d.x == x && d.y == y) last = d.code;
        ASSERT_EQ(last, At(x, y)) << "cell " << x << "," << y << " at tick " << tick;
      }
  }
}

}  // namespace
