#include "shell/input_devices.h"

#include <cstdio>

bool InputDevices::SetUpInput() {
  JoystickNames.clear();
  std::string error;
  if (!system_.Start(error)) return false;
  std::vector<std::string> refused;
  system_.AddMappingFiles(MappingFileName, refused);
  // Layouts are an extra: a file that cannot be used costs a line, never a box.
  for (const std::string& why : refused)
    std::fprintf(stderr, "TROK Mirel: controller layouts not added: %s\n", why.c_str());
  return ListJoysticks();
}

bool InputDevices::ListJoysticks() {
  if (!system_.Started()) return false;
  JoystickNames.clear();
  const int count = system_.AttachedCount();
  for (int i = 0; i < count && JoystickCount() < MaxJoystickNames; ++i) {
    // A device that refuses to open is not offered; it is closed again at once.
    std::unique_ptr<Joystick> device = system_.Open(i);
    if (device) JoystickNames.push_back(device->Name());
  }
  return true;
}

bool InputDevices::OpenJoystick(int index, int player) {
  std::unique_ptr<Joystick>& slot = Slot(player);
  // A device from an earlier game may be gone by now: never keep it.
  slot.reset();
  if (!system_.Started() || index < 0) return false;
  // The list may have changed since start-up; when fewer devices open than asked
  // for, the last one that did is used.
  const int count = system_.AttachedCount();
  int opened = 0;
  for (int i = 0; i < count; ++i) {
    std::unique_ptr<Joystick> device = system_.Open(i);
    if (!device) continue;
    slot = std::move(device);
    if (opened == index) break;
    ++opened;
  }
  return slot != nullptr;
}

bool InputDevices::PollJoystick(int player, JoystickReading& reading) {
  Joystick* device = Slot(player).get();
  if (!device) return false;
  if (!device->Poll()) {
    // Lost (unplugged or taken away): look for it again a few times and keep the
    // last reading in force meanwhile.
    for (int attempt = 0; attempt < ReacquireAttempts; ++attempt)
      if (device->Reacquire()) break;
    return true;
  }
  JoystickState state;
  if (!device->Read(state)) return false;
  reading.X = state.X;
  reading.Y = state.Y;
  reading.FireButton = state.Fire;
  reading.MenuButton = state.Menu;
  return true;
}

void InputDevices::ReleaseInput() {
  JoystickSlot1.reset();
  JoystickSlot2.reset();
  system_.Stop();
}
