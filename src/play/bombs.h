#pragma once
// Bombs steered by a player who holds fire, and explosions with their chain reactions.
struct Game;
struct PlayerState;
struct WorldGrid;

constexpr int BombSound = 11;
constexpr int BlastDamage = 250;

void PlaceBomb(Game& game, PlayerState& player);
// One step of the player's bomb in MoveDirection; it goes off on a creature or producer.
void SteerBomb(Game& game, PlayerState& player);
// Fire released while steering.
void DetonateBomb(Game& game, PlayerState& player);
void ExplodeBomb(Game& game, int x, int y, bool withSound);
void BlastCell(Game& game, int x, int y);
bool CellIsBlastable(const WorldGrid& world, int x, int y);
bool BombCanEnter(const WorldGrid& world, int x, int y);
