#pragma once
// Joysticks: listed at start-up, opened per player at every game start.
#include <memory>
#include <string>
#include <vector>

#include "platform/joysticks.h"
#include "play/game.h"

class InputDevices {
 public:
  static constexpr int MaxJoystickNames = 25;
  // How often a lost device is looked for again within one poll.
  static constexpr int ReacquireAttempts = 3;

  ~InputDevices() { ReleaseInput(); }

  static constexpr const char* MappingFileName = "gamecontrollerdb.txt";

  // Starts the input system, reads extra controller layouts and lists the attached
  // game controllers; false when the input system failed.
  bool SetUpInput();
  // Lists the game controllers attached now into JoystickNames; false without an
  // input system.
  bool ListJoysticks();
  // Opens the index-th openable controller for player 1 or 2; false when none could be.
  bool OpenJoystick(int index, int player);
  // Reads player's joystick into `reading`. A device that stopped answering is looked
  // for again and the reading left as it was; false only when reading failed.
  bool PollJoystick(int player, JoystickReading& reading);
  void ReleaseInput();

  bool HasJoystick(int player) const { return Slot(player) != nullptr; }

  std::vector<std::string> JoystickNames;
  int JoystickCount() const { return static_cast<int>(JoystickNames.size()); }

 private:
  std::unique_ptr<Joystick>& Slot(int player) { return player == 2 ? JoystickSlot2 : JoystickSlot1; }
  const std::unique_ptr<Joystick>& Slot(int player) const {
    return player == 2 ? JoystickSlot2 : JoystickSlot1;
  }

  // Declared first: the slots close before the system stops.
  JoystickSystem system_;
  std::unique_ptr<Joystick> JoystickSlot1;
  std::unique_ptr<Joystick> JoystickSlot2;
};
