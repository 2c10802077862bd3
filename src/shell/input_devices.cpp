#include "shell/input_devices.h"

// The keyboard is always there; game controllers are listed and opened once their
// device support exists. Until then none is offered, so none is ever opened.
bool InputDevices::SetUpInput() {
  JoystickNames.clear();
  return true;
}

bool InputDevices::OpenJoystick(int /*index*/, int /*player*/) { return false; }

bool InputDevices::PollJoystick(int /*player*/, JoystickReading& /*reading*/) { return false; }

void InputDevices::ReleaseInput() {}
