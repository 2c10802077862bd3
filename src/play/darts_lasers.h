#pragma once
// The two hazards that act on their own: fire darts launched by FireP producers, and
// four sets of laser producers that fire in turn, each beam standing for 16 ticks.
#include "world/cell_codes.h"

struct Game;

constexpr int DartDamage = 150;
constexpr int LaserDamage = 150;

// Dart code of a direction 1..8, and the direction of a dart code (0 for no dart).
CellCode DartCode(int direction);
int DartDirection(CellCode code);
bool CodeIsDart(int code);

// Laser set 1..4 of a producer or beam code; 0 for anything else.
int LaserSetOfProducer(int code);
int LaserSetOfBeam(int code);
// The beam a producer puts out (right-firing producers: to the right, else below).
CellCode LaserBeamOf(CellCode producer);
bool LaserFiresRight(CellCode producer);

void FireDarts(Game& game, int x, int y);
void MoveDart(Game& game, int x, int y, CellCode code);
void LaserFire(Game& game, int x, int y, CellCode code);
void LaserOff(Game& game, int x, int y);
