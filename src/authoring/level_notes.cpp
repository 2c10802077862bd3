#include "authoring/level_notes.h"

#include "world/cell_codes.h"
#include "world/direction.h"

namespace {

bool CrumblesAtOnce(const LevelModel& m, int cell) {
  int walls = 0;
  for (int d = 1; d <= 7; d += 2) {
    if (WorldGrid::OutsideRoom(LocalXOf(cell) + DirDx[d], LocalYOf(cell) + DirDy[d])) continue;
    const int c = m.Code(cell + DirDx[d] + DirDy[d] * WorldWidth);
    if (c == Cell::BrickSolid || c == Cell::BrickShootable) ++walls;
  }
  return walls < 2;
}

// Walking off an edge lands on something the arriving player overwrites, or outside.
void NoteCrossings(const LevelModel& m, CheckReport& report) {
  const std::vector<Word> none(m.Words(), 0);
  for (int wy = LevelTop; wy < LevelTop + LevelRows; ++wy)
    for (int wx = LevelLeft; wx < LevelLeft + LevelColumns; ++wx) {
      const int u = WorldIndex(wx, wy);
      if (!m.Standable(none.data(), u) || u == m.Start()) continue;
      for (int d = 1; d <= 7; d += 2) {
        if (!WorldGrid::OutsideRoom(LocalXOf(u) + DirDx[d], LocalYOf(u) + DirDy[d])) continue;
        const int landing = LevelModel::Landing(u, d);
        if (landing < 0) continue;
        const int lx = WorldXOf(landing) - LevelLeft, ly = WorldYOf(landing) - LevelTop;
        if (lx < 0 || ly < 0 || lx >= LevelColumns || ly >= LevelRows) {
          report.notes.push_back("players can walk out of the level at " + DescribeCell(u));
          continue;
        }
        const int c = m.Code(landing);
        if (c != Cell::Floor && c != Cell::Money && c != Cell::Health && c != Cell::Bomb &&
            c != Cell::Shield)
          report.notes.push_back("a player leaving " + DescribeCell(u) + " lands on " +
                                 DescribeCell(landing) + " and overwrites the " + DescribeCode(c) +
                                 " there");
      }
    }
}

}  // namespace

void CheckStartAndFinish(const LevelModel& m, CheckReport& report) {
  if (m.Starts().empty()) report.errors.push_back("no Start ('S') in the level");
  if (!m.HasFinish()) report.errors.push_back("no Finish ('E') in the level");
  if (m.Start() < 0) return;
  const int x = LocalXOf(m.Start());
  if (m.Start1() < 0) {
    report.errors.push_back("the Start at " + DescribeCell(m.Start()) + " is in column " +
                            std::to_string(x) +
                            " of its room; the players start left and right of it, so it "
                            "must be in columns 1..18");
    return;
  }
  const char* who[2] = {"player 1's start cell (left of the Start)",
                        "player 2's start cell (right of the Start)"};
  const int cells[2] = {m.Start1(), m.Start2()};
  for (int p = 0; p < 2; ++p) {
    const int c = m.Code(cells[p]);
    const std::string at = std::string(who[p]) + " at " + DescribeCell(cells[p]);
    if (!PlayerCanEnterCode(c))
      report.errors.push_back(at + " holds a " + DescribeCode(c) + ", which a player cannot enter");
    else if (const Touch t = TouchOf(c); t == Touch::Hurts || t == Touch::Finish ||
                                         t == Touch::Door || t == Touch::Slide)
      report.errors.push_back(at + " holds a " + DescribeCode(c) + "; a player cannot stand there");
    else if (c != Cell::Floor)
      report.notes.push_back(std::string(who[p]) + " holds a " + DescribeCode(c) +
                             ", which the player's marker overwrites");
    if (m.InBeam(cells[p])) report.errors.push_back(at + " is in a laser's beam");
  }
}

void NoteLayout(const LevelModel& m, CheckReport& report) {
  if (m.Starts().size() > 1)
    report.notes.push_back(std::to_string(m.Starts().size()) +
                           " Start cells; the game uses the one at " + DescribeCell(m.Start()));
  for (int i = 0; i < WorldCellCount; ++i) {
    if (m.Code(i) == Cell::BrickShootable && CrumblesAtOnce(m, i))
      report.notes.push_back("the shootable wall at " + DescribeCell(i) +
                             " has fewer than two wall neighbours: it crumbles as soon as "
                             "its room is entered");
    if (m.InBeam(i) && m.Code(i) != Cell::Floor)
      report.notes.push_back("the " + DescribeCode(m.Code(i)) + " at " + DescribeCell(i) +
                             " stands in a laser's beam and is destroyed by it");
  }
  NoteCrossings(m, report);
}
