#pragma once
// The heartbeat of play: players every fourth tick, shots every tick, a scan of the
// current room every sixteenth tick and the laser sets on their own phases.
struct Game;

void WorldTick(Game& game);
