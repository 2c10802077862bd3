// Whether every door players can walk up to has a key left for it: a walk over the
// checker's picture of the level that collects every key it reaches and opens one
// door per key, in the order the doors are reached.
#include <deque>
#include <vector>

#include "authoring/level_model.h"
#include "editor/level_cells.h"
#include "editor/level_rules.h"
#include "world/direction.h"

namespace {

bool Walkable(CellKind k) {
  return k == CellKind::Floor || k == CellKind::Item || k == CellKind::Key || k == CellKind::Finish ||
         k == CellKind::Slide || k == CellKind::Shootable || k == CellKind::Pig;
}

int LevelCellOfWorld(int world) {
  const int col = WorldXOf(world) - LevelLeft, row = WorldYOf(world) - LevelTop;
  return InLevel(col, row) ? CellAt(col, row) : -1;
}

}  // namespace

std::vector<int> DoorsWithoutKeys(const LevelBytes& bytes) {
  const LevelModel m(bytes);
  if (m.Start1() < 0) return {};
  std::vector<char> seen(WorldCellCount, 0), doorSeen(WorldCellCount, 0);
  std::deque<int> queue;
  std::vector<int> doors;  // in the order players reach them
  int keys = 0;
  size_t opened = 0;
  auto visit = [&](int cell) {
    if (cell < 0 || seen[cell]) return;
    const CellKind k = m.Kind(cell);
    if (k == CellKind::Door) {
      if (!doorSeen[cell]) doors.push_back(cell);
      doorSeen[cell] = 1;
      return;
    }
    if (!Walkable(k)) return;
    seen[cell] = 1;
    if (k == CellKind::Key) ++keys;
    queue.push_back(cell);
  };
  visit(m.Start1());
  visit(m.Start2());
  for (;;) {
    while (!queue.empty()) {
      const int cell = queue.front();
      queue.pop_front();
      for (int d = 1; d <= 8; ++d) {
        const int x = LocalXOf(cell) + DirDx[d], y = LocalYOf(cell) + DirDy[d];
        visit(WorldGrid::OutsideRoom(x, y) ? m.LandingOf(cell, d) : cell + DirDx[d] + DirDy[d] * WorldWidth);
      }
    }
    if (opened >= doors.size() || keys <= 0) break;
    const int door = doors[opened++];
    --keys;
    seen[door] = 1;
    queue.push_back(door);
  }
  std::vector<int> locked;
  for (size_t i = opened; i < doors.size(); ++i)
    if (int cell = LevelCellOfWorld(doors[i]); cell >= 0) locked.push_back(cell);
  return locked;
}
