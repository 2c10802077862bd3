#pragma once
// What the cell a player walks onto does: items, doors, finish, hazards, slides.
#include "world/cell_kinds.h"

struct Game;
struct PlayerState;
struct WorldGrid;

constexpr int SlideCellLimit = 2200;

constexpr bool CodeIsSlide(int c) { return KindOf(c) == ThingKind::Slide; }
bool CellIsSlide(const WorldGrid& world, int x, int y);
// Carries the player from its slide field; true (refused) when the slide leads out
// of the room, runs in a circuit or ends on a cell the player may not enter.
bool Slide(Game& game, PlayerState& player);
// Acts on the cell at the player's (X, Y); (backX, backY) is where the step began.
// True when the player is not to be drawn there (finish, deadly cells).
bool EnterCell(Game& game, PlayerState& player, int backX, int backY);
