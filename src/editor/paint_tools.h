#pragma once
// Which cells the drawing tools touch, as level cells (level_cells.h).
#include <vector>

#include "authoring/level_text.h"

// Visits the points of a straight line from (x0, y0) to (x1, y1), both ends included,
// each a neighbour of the one before (diagonals included).
template <class Visit>
void WalkLine(int x0, int y0, int x1, int y1, Visit visit) {
  const int dx = x0 < x1 ? x1 - x0 : x0 - x1, dy = -(y0 < y1 ? y1 - y0 : y0 - y1);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    visit(x0, y0);
    if (x0 == x1 && y0 == y1) return;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

// The cells of a straight line from one cell to another, both ends included, with no
// gaps (each step moves to a neighbour, diagonals included).
std::vector<int> LineCells(int from, int to);
// Every cell of the rectangle with these two corners.
std::vector<int> RectangleCells(int corner, int oppositeCorner);
// The cells holding the same byte as `start` that join it side by side, within the
// room of `start`: a fill stops at room borders, as players see one room at a time.
std::vector<int> FloodFillCells(const LevelBytes& bytes, int start);
