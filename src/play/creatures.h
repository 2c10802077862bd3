#pragma once
// Creatures of the current room: chasers head for the nearest player, wanderers step
// at random and may leave the room; both pass through enemy-passable walls.
#include "world/world_grid.h"

struct Game;

// Fills the world's TargetList with player markers and living players' positions.
int32_t CollectTargets(Game& game);
// The target nearest (Manhattan) to (x, y); the last of equals wins; (x, y) if none.
GridPoint NearestTarget(const WorldGrid& world, int x, int y);
// Where a chaser at (x, y) moves towards (tx, ty); (x, y) for no move.
GridPoint StepTowards(const WorldGrid& world, int tx, int ty, int x, int y);
// Where a wanderer at (x, y) comes out after walking into the wall at (wx, wy).
GridPoint PassEnemyWalls(const WorldGrid& world, int direction, int wx, int wy, int x, int y);

void ChaserStep(Game& game, int x, int y, CellCode code);
void WandererStep(Game& game, int x, int y, CellCode code);

// Life a creature takes from a player it walks into; 0 for codes that are no creature.
int ContactDamage(CellCode code);
