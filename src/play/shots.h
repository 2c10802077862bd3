#pragma once
// The players' shots: one in flight per player, one cell per world tick.
#include "world/cell_codes.h"

struct Game;
struct PlayerState;
struct WorldGrid;

void ShotsTick(Game& game);
// Fires a new shot or moves the one in flight.
void UpdateShot(Game& game, PlayerState& player);
// The cell code of a shot of player 1 or 2 flying in direction 1..8.
CellCode ShotCode(int playerNumber, int direction);
bool CellIsShootable(const WorldGrid& world, int x, int y);
// What a shot does to the cell it runs into; points go to the shooter.
void ShotHit(Game& game, int x, int y, PlayerState& shooter);
