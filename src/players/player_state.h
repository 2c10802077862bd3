#pragma once
// One player's record; the game owns two of them for the whole run.
#include <cstdint>
#include <string>

#include "world/cell_codes.h"

constexpr int LifeFull = 90;
constexpr int MenuBomb = 1;
constexpr int MenuLife = 2;
constexpr int MenuNothing = 3;

namespace PlayerKey {
constexpr int32_t Up = 1, Down = 2, Left = 4, Right = 8, Fire = 16;
}

struct PlayerState {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t StartX = 0;
  int32_t StartY = 0;
  int32_t ShotX = 0;
  int32_t ShotY = 0;
  int32_t BombX = 0;
  int32_t BombY = 0;
  int32_t Life = 0;
  int32_t Points = 0;
  int32_t Keys = 0;
  int32_t HealthKits = 0;
  int32_t Bombs = 0;
  int32_t LevelsPassed = 0;
  int32_t KeyLeft = 0;
  int32_t KeyRight = 0;
  int32_t KeyUp = 0;
  int32_t KeyDown = 0;
  int32_t KeyFire = 0;
  int32_t KeyMenu = 0;
  int32_t MenuChoice = 0;
  int32_t PlayerNumber = 0;
  int32_t ShotAge = 0;
  int32_t ShieldTicks = 0;
  int32_t MoveDirection = 0;
  int32_t ShotDirection = 0;
  int32_t CodeUnderBomb = 0;
  // The player's walking and firing keys (bits of `PlayerKey`): held now, pressed since
  // the last step, and those that step counts although they were let go before it.
  int32_t KeysHeld = 0;
  int32_t KeysPressed = 0;
  int32_t StepTaps = 0;
  bool Firing = false;
  bool BombActive = false;
  bool ShotActive = false;
  bool MenuOpen = false;
  bool Dead = false;
  bool Warped = false;
  bool UsesKeyboard = true;
  std::string StatusText;

  // The player's own cell code: 25 for player 1, 26 for player 2.
  CellCode Code() const { return PlayerNumber == 2 ? Cell::Player2 : Cell::Player1; }
  // Sound n for player 1 is n + 20 for player 2.
  int Sound(int n) const { return PlayerNumber == 2 ? n + 20 : n; }
};

// Back to the start of a game: full life, nothing carried, at the start position.
void ResetPlayer(PlayerState& player, int number);
// Points only grow, and stop at the largest the record holds rather than wrap negative.
void AddPoints(PlayerState& player, int32_t points);
// A player in play is neither dead nor waiting at the finish.
inline bool InPlay(const PlayerState& player) { return !player.Dead && !player.Warped; }
