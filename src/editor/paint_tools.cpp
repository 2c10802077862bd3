#include "editor/paint_tools.h"

#include <algorithm>

#include "editor/level_cells.h"

std::vector<int> LineCells(int from, int to) {
  std::vector<int> cells;
  WalkLine(ColumnOf(from), RowOf(from), ColumnOf(to), RowOf(to),
           [&](int col, int row) { cells.push_back(CellAt(col, row)); });
  return cells;
}

std::vector<int> RectangleCells(int corner, int oppositeCorner) {
  const int left = std::min(ColumnOf(corner), ColumnOf(oppositeCorner));
  const int right = std::max(ColumnOf(corner), ColumnOf(oppositeCorner));
  const int top = std::min(RowOf(corner), RowOf(oppositeCorner));
  const int bottom = std::max(RowOf(corner), RowOf(oppositeCorner));
  std::vector<int> cells;
  for (int row = top; row <= bottom; ++row)
    for (int col = left; col <= right; ++col) cells.push_back(CellAt(col, row));
  return cells;
}

std::vector<int> FloodFillCells(const LevelBytes& bytes, int start) {
  if (start < 0 || start >= LevelCellCount) return {};
  const uint8_t value = bytes[static_cast<size_t>(start)];
  std::vector<char> seen(LevelCellCount, 0);
  std::vector<int> cells, pending{start};
  seen[static_cast<size_t>(start)] = 1;
  while (!pending.empty()) {
    const int cell = pending.back();
    pending.pop_back();
    cells.push_back(cell);
    const int col = ColumnOf(cell), row = RowOf(cell);
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& step : steps) {
      const int c = col + step[0], r = row + step[1];
      if (!InLevel(c, r)) continue;
      const int next = CellAt(c, r);
      if (seen[static_cast<size_t>(next)] || !SameRoom(next, start) ||
          bytes[static_cast<size_t>(next)] != value)
        continue;
      seen[static_cast<size_t>(next)] = 1;
      pending.push_back(next);
    }
  }
  std::sort(cells.begin(), cells.end());
  return cells;
}
