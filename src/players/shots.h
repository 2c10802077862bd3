#pragma once
// The players' shots: one in flight per player, one cell per world tick.
struct Game;

void ShotsTick(Game& game);
