#pragma once
// The state of play, owned for the whole run of the program: the world, its clock, the
// two players and the level selection, with the host they act through.
#include <string>

#include "play/game_host.h"
#include "players/player_state.h"
#include "world/world_grid.h"

// Four counters, all 1 at program start and never reset.
struct WorldClock {
  int32_t c0 = 1;
  int32_t c1 = 1;
  int32_t c2 = 1;
  int32_t c3 = 1;
};

struct Game {
  explicit Game(GameHost& h) : host(&h) {}

  GameHost* host;
  WorldGrid World;
  WorldClock Clock;
  PlayerState Player1;
  PlayerState Player2;
  int32_t PlayerCount = 0;
  // Level selection, as the title menu and the warp leave it.
  int32_t LevelCount = 0;
  int32_t LevelIndex = 0;
  bool RandomLevels = false;
  // Directory the level files are read from; ends with '/'.
  std::string StartDirectory = "./";
  // Call counter of the status panel refresh.
  int32_t PanelRefreshCount = 0;
  // Joystick store shared by both devices: the last successful poll.
  JoystickReading Joystick;

  PlayerState& Player(int number) { return number == 2 ? Player2 : Player1; }
  PlayerState& PlayerByCode(int code) { return code == Cell::Player1 ? Player1 : Player2; }
  bool TwoPlayers() const { return PlayerCount == 2; }
};
