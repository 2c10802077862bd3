#include "play/world_tick.h"

#include <cstdint>

#include "play/player_control.h"
#include "play/shots.h"
#include "play/creatures.h"
#include "play/darts_lasers.h"
#include "play/game.h"
#include "play/producers.h"

namespace {

constexpr int LaserSets = 4;
// c1, c2 and c3 trail c0 by these once they run; they pace laser sets 2, 3 and 4.
constexpr int32_t ClockLag[LaserSets] = {0, 15, 31, 47};

// Which kinds of object act in this scan.
struct ScanPhase {
  bool full = false;                 // everything acts (c0 mod 16 = 0)
  bool beamsOff[LaserSets + 1] = {};  // per set: beams go out (clock mod 16 = 0)
  bool lasersFire[LaserSets + 1] = {};  // per set: producers fire (clock mod 64 = 0)
};

int32_t SetClock(const WorldClock& clock, int set) {
  switch (set) {
    case 1: return clock.c0;
    case 2: return clock.c1;
    case 3: return clock.c2;
    default: return clock.c3;
  }
}

// The counters wrap rather than overflow; 2^32 is a multiple of 64, so the phases of
// the 16- and 64-tick cycles survive the wrap, and a trailing counter that has caught
// its lag keeps it.
int32_t Advanced(int32_t c) { return static_cast<int32_t>(static_cast<uint32_t>(c) + 1u); }

bool Trails(int32_t c0, int32_t c, int32_t lag) {
  return static_cast<uint32_t>(c0) - static_cast<uint32_t>(c) == static_cast<uint32_t>(lag);
}

void AdvanceClock(WorldClock& clock) {
  const int32_t c0 = clock.c0;
  if (c0 > ClockLag[1] || Trails(c0, clock.c1, ClockLag[1])) clock.c1 = Advanced(clock.c1);
  if (c0 > ClockLag[2] || Trails(c0, clock.c2, ClockLag[2])) clock.c2 = Advanced(clock.c2);
  if (c0 > ClockLag[3] || Trails(c0, clock.c3, ClockLag[3])) clock.c3 = Advanced(clock.c3);
  clock.c0 = Advanced(c0);
}

void ScanCell(Game& game, int x, int y, CellCode code, const ScanPhase& phase) {
  switch (ScanOf(code)) {
    case ScanMove::Still: return;
    case ScanMove::Produce:
      if (phase.full) ProducerStep(game, x, y, code);
      return;
    case ScanMove::PigGrow:
      if (phase.full) PigProducerGrow(game, x, y, code);
      return;
    case ScanMove::ShootableWall:
      if (phase.full) ShootableWallTest(game, x, y);
      return;
    case ScanMove::StarSpread:
      if (phase.full) StarSpread(game, x, y);
      return;
    case ScanMove::Chase:
      if (phase.full) ChaserStep(game, x, y, code);
      return;
    case ScanMove::Wander:
      if (phase.full) WandererStep(game, x, y, code);
      return;
    case ScanMove::FireDarts:
      if (phase.full) FireDarts(game, x, y);
      return;
    case ScanMove::Dart:
      if (phase.full) MoveDart(game, x, y, code);
      return;
    case ScanMove::BeamOff:
      if (phase.beamsOff[LaserSetOfBeam(code)]) LaserOff(game, x, y);
      return;
    case ScanMove::LaserFire:
      if (phase.lasersFire[LaserSetOfProducer(code)]) LaserFire(game, x, y, code);
      return;
  }
}

void Scan(Game& game, const ScanPhase& phase) {
  WorldGrid& world = game.World;
  world.TakeRoomSnapshot();
  world.TargetCount = CollectTargets(game);
  GameHost& host = *game.host;
  // A timer handled inside the scan may load the next level; the snapshot then belongs
  // to a level that is gone, so the scan ends rather than act it out in the new one.
  const uint32_t generation = world.Generation;
  const int roomX = world.CurrentRoomX, roomY = world.CurrentRoomY;
  auto pump = [&] {
    host.ProcessMessages();
    return world.Generation == generation && world.CurrentRoomX == roomX &&
           world.CurrentRoomY == roomY;
  };
  for (int y = 0; y < GridRoomHeight; ++y) {
    if (!pump()) return;
    if ((y == 0 || y == 10) && !pump()) return;
    for (int x = 0; x < GridRoomWidth; ++x) {
      if (x % 5 == 0 && !pump()) return;
      const CellCode code = world.Snapshot(x, y);
      if (code == Cell::Floor || code == Cell::BrickSolid) continue;
      ScanCell(game, x, y, code, phase);
    }
  }
}

}  // namespace

void WorldTick(Game& game) {
  game.host->ProcessMessages();
  const WorldClock& clock = game.Clock;
  const bool playersStep = clock.c0 % 4 == 0;
  if (playersStep) PlayersTick(game);
  ShotsTick(game);
  if (playersStep) EndPlayersStep(game);

  ScanPhase phase;
  phase.full = clock.c0 % 16 == 0;
  bool anyScan = false;
  for (int set = 1; set <= LaserSets; ++set) {
    const int32_t c = SetClock(clock, set);
    phase.beamsOff[set] = c % 16 == 0;
    phase.lasersFire[set] = c % 64 == 0;
    anyScan = anyScan || phase.beamsOff[set];
  }
  if (anyScan) Scan(game, phase);
  AdvanceClock(game.Clock);
}
