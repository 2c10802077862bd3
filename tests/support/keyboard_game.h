#pragma once
// The shell's game start for tests that play levels on a fake host: both players on
// the keyboard with the default keys, at the Start, the start room current.
#include "play/game.h"
#include "play/player_control.h"

// Up, Down, Left, Right, Fire, Menu of player 1, then of player 2.
inline constexpr int DefaultKeys[12] = {38, 40, 37, 39, 17, 16, 84, 71, 70, 72, 90, 65};

inline void StartTwoPlayerGame(Game& game) {
  game.World.SetCurrentRoom(game.World.StartRoomX, game.World.StartRoomY);
  game.PlayerCount = 2;
  ResetPlayer(game.Player1, 1);
  ResetPlayer(game.Player2, 2);
  for (int n = 1; n <= 2; ++n) {
    PlayerState& p = game.Player(n);
    const int* k = &DefaultKeys[(n - 1) * 6];
    p.KeyUp = k[0], p.KeyDown = k[1], p.KeyLeft = k[2], p.KeyRight = k[3];
    p.KeyFire = k[4], p.KeyMenu = k[5];
    p.UsesKeyboard = true;
  }
}

// How many cells of the whole grid hold `code` (a player's markers, say).
inline int CountCells(const Game& game, CellCode code) {
  int n = 0;
  for (CellCode c : game.World.Cells) n += c == code;
  return n;
}
