#pragma once
// Input to actions, walking and damage of one player.
#include "players/player_state.h"

struct Game;

void ResetPlayer(PlayerState& player, int number);
void KeyPressed(Game& game, int key, PlayerState& player);
void KeyReleased(Game& game, int key, PlayerState& player);
// Every fourth world tick: joystick players read, then both players step.
void PlayersTick(Game& game);
// The one way to hurt a player: code 25 hurts player 1, anything else player 2.
void DamagePlayer(Game& game, int amount, int code, bool withSound);
