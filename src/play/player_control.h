#pragma once
// Input to actions, walking and damage of one player.
#include "players/player_state.h"

struct Game;
struct WorldGrid;

constexpr int JoystickThreshold = 400;

void KeyPressed(Game& game, int key, PlayerState& player);
void KeyReleased(Game& game, int key, PlayerState& player);
// What a player's step and the shots of its tick act on: the keys held, joined by the
// keys pressed since the step before even if they were let go already, so that a tap
// between two steps is neither lost nor counted twice.
int StepDirection(const PlayerState& player);
bool StepFiring(const PlayerState& player);
// After the shots of a tick in which the players stepped: its taps are spent.
void EndPlayersStep(Game& game);
// Every fourth world tick: joystick players read, then both players step.
void PlayersTick(Game& game);
// The one way to hurt a player: code 25 hurts player 1, anything else player 2.
void DamagePlayer(Game& game, int amount, int code, bool withSound);

// The fire control pressed / released, and the item menu opened.
void FireDown(Game& game, PlayerState& player);
void FireUp(Game& game, PlayerState& player);
void OpenItemMenu(PlayerState& player);
void UseHealthKit(Game& game, PlayerState& player);
// Polls the player's joystick and turns its position and buttons into actions.
void ReadJoystick(Game& game, PlayerState& player);
// One step of one player: shield, walking or steering, slides and the cell entered.
void UpdatePlayer(Game& game, PlayerState& player);
// One cell in the step's direction, or out of the room.
void StepPlayer(Game& game, PlayerState& player);
bool PlayerCanEnter(const WorldGrid& world, int x, int y);
