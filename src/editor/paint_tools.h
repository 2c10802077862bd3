#pragma once
// Which cells the drawing tools touch, as level cells (level_cells.h).
#include <vector>

#include "authoring/level_text.h"

// The cells of a straight line from one cell to another, both ends included, with no
// gaps (each step moves to a neighbour, diagonals included).
std::vector<int> LineCells(int from, int to);
// Every cell of the rectangle with these two corners.
std::vector<int> RectangleCells(int corner, int oppositeCorner);
// The cells holding the same byte as `start` that join it side by side, within the
// room of `start`: a fill stops at room borders, as players see one room at a time.
std::vector<int> FloodFillCells(const LevelBytes& bytes, int start);
