// Stand-ins for the player side until it lands: just enough to link and to let the
// world's damage and pacing be observed.
#include "players/player_control.h"
#include "players/shots.h"
#include "world/game.h"

void PlayersTick(Game& game) {
  JoystickReading reading;
  if (!game.Player1.UsesKeyboard) game.host->PollJoystick(1, reading);
  if (game.TwoPlayers() && !game.Player2.UsesKeyboard) game.host->PollJoystick(2, reading);
}

void ShotsTick(Game&) {}

void DamagePlayer(Game& game, int amount, int code, bool withSound) {
  PlayerState& player = code == 25 ? game.Player1 : game.Player2;
  if (player.ShieldTicks <= 0 || amount >= 200) player.Life -= amount;
  if (withSound) game.host->PlaySound(player.Sound(5));
}
