#include "editor/level_rules.h"

#include <algorithm>

#include "editor/level_cells.h"
#include "editor/palette.h"
#include "world/cell_kinds.h"

namespace {

using Findings = std::vector<RuleFinding>;

void Add(Findings& out, RuleSeverity severity, int cell, std::string text) {
  out.push_back(RuleFinding{severity, std::move(text), cell});
}

// What a player could step on: leaving the level through it is possible.
bool OpenToPlayers(uint8_t b) {
  return b == Cell::Floor || (b >= Cell::Heart && b <= Cell::Door) || b == Cell::Finish ||
         b == Cell::Shield || b == Cell::SlideFieldOmni || (b >= Cell::SlideRight && b <= Cell::SlideDown) ||
         (b >= Cell::Ant && b <= Cell::Pig) || b == Cell::Star;
}

bool IsLaserRight(uint8_t b) { return IsLaserFiring(b, Dir::Right); }
bool IsLaserDown(uint8_t b) { return IsLaserFiring(b, Dir::Down); }

// The loader takes the first Start in room order; the others are lifeless.
std::vector<int> StartsInLoaderOrder(const LevelBytes& bytes) {
  std::vector<int> starts;
  for (int ry = 0; ry < LevelRoomsDown; ++ry)
    for (int rx = 0; rx < LevelRoomsAcross; ++rx)
      for (int y = 0; y < GridRoomHeight; ++y)
        for (int x = 0; x < GridRoomWidth; ++x) {
          const int cell = CellAt(rx * GridRoomWidth + x, ry * GridRoomHeight + y);
          if (bytes[static_cast<size_t>(cell)] == Cell::Start) starts.push_back(cell);
        }
  return starts;
}

void StartAndFinish(const LevelBytes& bytes, Findings& errors, Findings& warnings) {
  const std::vector<int> starts = StartsInLoaderOrder(bytes);
  if (starts.empty()) Add(errors, RuleSeverity::Error, -1, "No Start: put one in the level (Markers)");
  for (size_t i = 1; i < starts.size(); ++i)
    Add(errors, RuleSeverity::Error, starts[i],
        "A second Start at " + DescribeLevelCell(starts[i]) + ": a level has exactly one");
  const bool finish = std::find(bytes.begin(), bytes.begin() + LevelCellCount, Cell::Finish) !=
                      bytes.begin() + LevelCellCount;
  if (!finish) Add(errors, RuleSeverity::Error, -1, "No Finish: put at least one in the level (Markers)");
  if (starts.empty()) return;
  const int start = starts.front(), x = InRoomX(start);
  if (x == 0 || x == GridRoomWidth - 1) {
    Add(errors, RuleSeverity::Error, start,
        "The Start at " + DescribeLevelCell(start) + " is in column " + std::to_string(x) +
            " of its room: the players start left and right of it, so keep it in columns 1 to 18");
    return;
  }
  const char* who[2] = {"Player 1 starts left", "Player 2 starts right"};
  for (int side = 0; side < 2; ++side) {
    const int cell = start + (side == 0 ? -1 : 1);
    const uint8_t b = bytes[static_cast<size_t>(cell)];
    if (b != Cell::Floor)
      Add(warnings, RuleSeverity::Warning, cell,
          std::string(who[side]) + " of the Start, on a " + CellName(b) +
              " that the player's marker replaces: keep it floor");
  }
}

void Lasers(const LevelBytes& bytes, int cell, Findings& warnings) {
  const uint8_t b = bytes[static_cast<size_t>(cell)];
  const bool right = IsLaserRight(b), down = IsLaserDown(b);
  if (!right && !down) return;
  const bool outside = right ? InRoomX(cell) == GridRoomWidth - 1 : InRoomY(cell) == GridRoomHeight - 1;
  if (outside) {
    Add(warnings, RuleSeverity::Warning, cell,
        std::string(CellName(b)) + " at " + DescribeLevelCell(cell) + " has no cell of its room to fire " +
            (right ? "into on its right" : "into below it") + ": it never fires");
    return;
  }
  const int beam = right ? cell + 1 : cell + LevelColumns;
  const uint8_t target = bytes[static_cast<size_t>(beam)];
  if (target != Cell::Floor)
    Add(warnings, RuleSeverity::Warning, beam,
        "The " + CellName(target) + " at " + DescribeLevelCell(beam) + " is in the beam of the " +
            CellName(b) + " and burns away when it fires");
}

void CellWarnings(const LevelBytes& bytes, int cell, Findings& warnings) {
  const uint8_t b = bytes[static_cast<size_t>(cell)];
  const std::string at = " at " + DescribeLevelCell(cell);
  if (IsEditorOnlyCode(b)) {
    Add(warnings, RuleSeverity::Warning, cell, CellName(b) + at + " is a lifeless obstacle in play");
  } else if (b > Cell::SlideFieldOmniForEditor) {
    Add(warnings, RuleSeverity::Warning, cell, CellName(b) + at + ": an invisible obstacle in play");
  } else if (b == Cell::Player1 || b == Cell::Player2) {
    Add(warnings, RuleSeverity::Warning, cell,
        "Stray " + CellName(b) + at + ": the game puts the players beside the Start itself");
  } else if (b >= Cell::P1Bullet4 && b <= Cell::P1Bullet3) {
    Add(warnings, RuleSeverity::Warning, cell, "A frozen " + CellName(b) + at + " is an obstacle in play");
  } else if (b == Cell::LaserSet1_5 || b == Cell::LaserSet1_3) {
    Add(warnings, RuleSeverity::Warning, cell,
        "A " + CellName(b) + at + " without its laser goes out at once, burning what it covered");
  } else if (b == Cell::BrickShootable) {
    int walls = 0;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& s : steps) {
      const int x = InRoomX(cell) + s[0], y = InRoomY(cell) + s[1];
      if (x < 0 || y < 0 || x >= GridRoomWidth || y >= GridRoomHeight) continue;
      const uint8_t n = bytes[static_cast<size_t>(cell + s[0] + s[1] * LevelColumns)];
      if (n == Cell::BrickSolid || n == Cell::BrickShootable) ++walls;
    }
    if (walls < 2)
      Add(warnings, RuleSeverity::Warning, cell,
          "The shootable wall" + at + " has fewer than two wall neighbours: it crumbles at once");
  }
  Lasers(bytes, cell, warnings);
}

// One warning per run of open cells along each side of the level's outer wall.
void OuterWall(const LevelBytes& bytes, Findings& warnings) {
  auto side = [&](int first, int step, int count, const char* where) {
    int runStart = -1, runLength = 0;
    auto flush = [&] {
      if (runStart >= 0)
        Add(warnings, RuleSeverity::Warning, runStart,
            "The outer wall is open at " + DescribeLevelCell(runStart) +
                (runLength > 1 ? " (" + std::to_string(runLength) + " cells)" : std::string()) + " on the " +
                where + ": players can walk out of the level");
      runStart = -1;
      runLength = 0;
    };
    for (int i = 0; i < count; ++i) {
      const int cell = first + i * step;
      if (OpenToPlayers(bytes[static_cast<size_t>(cell)])) {
        if (runStart < 0) runStart = cell;
        ++runLength;
      } else {
        flush();
      }
    }
    flush();
  };
  side(CellAt(0, 0), 1, LevelColumns, "top");
  side(CellAt(0, LevelRows - 1), 1, LevelColumns, "bottom");
  side(CellAt(0, 1), LevelColumns, LevelRows - 2, "left");
  side(CellAt(LevelColumns - 1, 1), LevelColumns, LevelRows - 2, "right");
}

}  // namespace

std::string DescribeLevelCell(int cell) {
  return "row " + std::to_string(RowOf(cell)) + ", column " + std::to_string(ColumnOf(cell)) + " (room " +
         std::to_string(LevelRoomX(cell)) + "," + std::to_string(LevelRoomY(cell)) + ")";
}

std::vector<RuleFinding> CheckLevelRules(const LevelBytes& bytes) {
  Findings errors, warnings;
  StartAndFinish(bytes, errors, warnings);
  for (int cell = 0; cell < LevelCellCount; ++cell) CellWarnings(bytes, cell, warnings);
  for (int door : DoorsWithoutKeys(bytes))
    Add(warnings, RuleSeverity::Warning, door,
        "No key is left for the door at " + DescribeLevelCell(door) + " when players reach it");
  OuterWall(bytes, warnings);
  std::stable_sort(warnings.begin(), warnings.end(),
                   [](const RuleFinding& a, const RuleFinding& b) { return a.cell < b.cell; });
  errors.insert(errors.end(), warnings.begin(), warnings.end());
  return errors;
}
