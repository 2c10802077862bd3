#pragma once
// The narrow port through which world and player code reach the screen, the speakers,
// the joysticks, the message pump and the dice. The shell implements it; tests fake it.
#include <string>

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
