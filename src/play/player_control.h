#pragma once
// Input to actions, walking and damage of one player.
#include "players/player_state.h"

struct Game;
struct WorldGrid;

constexpr int JoystickThreshold = 400;

void KeyPressed(Game& game, int key, PlayerState& player);
void KeyReleased(Game& game, int key, PlayerState& player);
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
// One cell in MoveDirection, or out of the room.
void StepPlayer(Game& game, PlayerState& player);
bool PlayerCanEnter(const WorldGrid& world, int x, int y);
