#pragma once
// Joysticks: listed at start-up, opened per player at every game start.
#include <string>
#include <vector>

#include "world/game.h"

class InputDevices {
 public:
  // Lists the attached game controllers; false when the input system failed.
  bool SetUpInput();
  // Opens the index-th listed controller for player 1 or 2; false on failure.
  bool OpenJoystick(int index, int player);
  bool PollJoystick(int player, JoystickReading& reading);
  void ReleaseInput();

  std::vector<std::string> JoystickNames;
  int JoystickCount() const { return static_cast<int>(JoystickNames.size()); }
};
