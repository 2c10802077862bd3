// Two live players leave a room only together: both on the same edge line, both
// walking out the same way (never through a corner), landing where they can join up.
#include "authoring/level_search.h"

namespace {

constexpr int StraightDirs[4] = {Dir::Up, Dir::Right, Dir::Down, Dir::Left};

// The cells of the room's edge line that a player walking in `dir` leaves from.
int EdgeLine(int room, int dir, int* cells) {
  int n = 0;
  if (dir == Dir::Up || dir == Dir::Down) {
    const int y = dir == Dir::Up ? 0 : GridRoomHeight - 1;
    for (int x = 0; x < GridRoomWidth; ++x) cells[n++] = RoomCellIndex(room, x, y);
  } else {
    const int x = dir == Dir::Left ? 0 : GridRoomWidth - 1;
    for (int y = 0; y < GridRoomHeight; ++y) cells[n++] = RoomCellIndex(room, x, y);
  }
  return n;
}

}  // namespace

void LevelSearch::PushTeamCrossings(int node) {
  const ClosureSummary s = Summary(node);
  const int pos = nodes_[node].pos, keys = nodes_[node].keys;
  // Who may stand where, found before any new node moves the stored cleared sets.
  int leaving[4][GridRoomWidth];
  int count[4] = {0, 0, 0, 0};
  for (int side = 0; side < 4; ++side) {
    const int dir = StraightDirs[side];
    int line[GridRoomWidth];
    const int n = EdgeLine(RoomOf(pos), dir, line);
    int standing = 0;
    for (int k = 0; k < n; ++k)
      if (((s.strongEdges >> EdgeBitOf(line[k])) & 1u) && m_.LandingOf(line[k], dir) >= 0)
        line[standing++] = line[k];
    if (standing < 2) continue;
    for (int k = 0; k < standing; ++k)
      if (m_.LandingAllowed(Cleared(node), m_.LandingOf(line[k], dir)))
        leaving[side][count[side]++] = line[k];
  }

  for (int side = 0; side < 4 && !stop_; ++side) {
    const int dir = StraightDirs[side];
    for (int w = 0; w < count[side] && !stop_; ++w) {
      const int walker = leaving[side][w];
      Arrival a;
      a.move.type = MoveType::TeamCross;
      a.move.dir = static_cast<uint8_t>(dir);
      a.move.from = static_cast<int16_t>(walker);
      a.pos = a.adds[0] = a.move.to = static_cast<int16_t>(m_.LandingOf(walker, dir));
      a.keys = keys;
      // Partners landing where nothing is left to overwrite change nothing: one state
      // for all of them.
      uint64_t floorPartners = 0;
      for (int p = 0; p < count[side] && !stop_; ++p) {
        if (p == w) continue;
        const int partnerLanding = m_.LandingOf(leaving[side][p], dir);
        const uint64_t edge = uint64_t{1} << EdgeBitOf(partnerLanding);
        if (m_.BitOf(partnerLanding) < 0 || m_.Cleared(Cleared(node), partnerLanding)) {
          floorPartners |= edge;
          continue;
        }
        Arrival withPartner = a;
        withPartner.adds[1] = partnerLanding;
        withPartner.partnerEdges = edge;
        Reach(node, withPartner);
      }
      a.partnerEdges = floorPartners;
      if (floorPartners && !stop_) Reach(node, a);
    }
  }
}
