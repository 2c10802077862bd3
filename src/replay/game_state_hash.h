#pragma once
// One number for the state of a game that the world's course depends on: the grid, the
// rooms, the world clock, both players and the level selection. Two runs that agree on
// it are in the same game.
#include <cstdint>

struct Game;

uint64_t GameStateHash(const Game& game);
