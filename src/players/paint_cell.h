#pragma once
// Writing a cell of the current room always goes with drawing it.
#include "world/game.h"

inline void SetCell(Game& game, int x, int y, CellCode code) {
  game.World.At(x, y) = code;
  game.host->DrawCell(x, y, code);
}
