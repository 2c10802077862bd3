#pragma once
// Writes to the current room go through here so that the screen never lags the grid.
#include "play/game.h"

inline void SetCell(Game& game, int x, int y, CellCode code) {
  game.World.At(x, y) = code;
  game.host->DrawCell(x, y, code);
}

// A mover leaving its cell clears it only if it is still there: something else may
// have taken the cell earlier in the same scan.
inline void ClearCellIfHolds(Game& game, int x, int y, CellCode code) {
  if (game.World.At(x, y) == code) SetCell(game, x, y, Cell::Floor);
}
