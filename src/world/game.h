#pragma once
// The state of play that the main window owns, and the narrow port through which
// world and player code reach the screen, the speakers, the clock and the dice.
#include <string>

#include "players/player_state.h"
#include "world/world_grid.h"

// Four counters, all 1 at program start and never reset.
struct WorldClock {
  int32_t c0 = 1;
  int32_t c1 = 1;
  int32_t c2 = 1;
  int32_t c3 = 1;
};

// State of one joystick poll: axes in -1000..1000, fire and menu buttons.
struct JoystickReading {
  int X = 0;
  int Y = 0;
  bool FireButton = false;
  bool MenuButton = false;
};

class GameHost {
 public:
  virtual ~GameHost() = default;
  // One cell of the current room, drawn with the tile of `code`.
  virtual void DrawCell(int x, int y, int code) = 0;
  virtual void DrawRoom() = 0;
  virtual void ProcessMessages() = 0;
  virtual void PlaySound(int soundNumber) = 0;
  // 0 .. k-1 (a non-negative draw modulo k); k > 0.
  virtual int Random(int k) = 0;
  virtual void ShowError(const std::string& text) = 0;
  virtual void SetLevelTitle(const std::string& text) = 0;
  // Polls player (1 or 2)'s joystick; false when reading failed (the caller reports it).
  virtual bool PollJoystick(int player, JoystickReading& reading) = 0;
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
