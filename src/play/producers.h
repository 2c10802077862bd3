#pragma once
// What grows and breeds during a full scan: producers, baby pig producers, stars, and
// shootable walls that crumble once they stand nearly alone.
#include "world/cell_codes.h"

struct Game;

// Puts code into a random Floor neighbour of (x, y); 64 tries. True if placed.
bool SpawnAround(Game& game, int x, int y, CellCode code);

// The producers of creatures (codes 9..14 and 37): one chance per full scan.
void ProducerStep(Game& game, int x, int y, CellCode code);
// PigP1..PigP4 grow a stage at a time.
void PigProducerGrow(Game& game, int x, int y, CellCode code);
void StarSpread(Game& game, int x, int y);
// Counts wall neighbours in the snapshot; fewer than two and the wall is gone.
void ShootableWallTest(Game& game, int x, int y);
