#include "players/player_state.h"

#include <limits>

#include "world/direction.h"

void ResetPlayer(PlayerState& player, int number) {
  player.X = player.StartX;
  player.Y = player.StartY;
  player.Firing = player.BombActive = player.ShotActive = false;
  player.MenuOpen = player.Dead = player.Warped = false;
  player.Life = LifeFull;
  player.Keys = player.Bombs = player.HealthKits = 0;
  player.LevelsPassed = player.Points = player.ShieldTicks = 0;
  player.StatusText.clear();
  player.PlayerNumber = number;
  // A direction still held when the last game ended must not walk the new one.
  player.MoveDirection = Dir::None;
  player.KeysHeld = player.KeysPressed = player.StepTaps = 0;
}

void AddPoints(PlayerState& player, int32_t points) {
  constexpr int32_t most = std::numeric_limits<int32_t>::max();
  player.Points = player.Points > most - points ? most : player.Points + points;
}
