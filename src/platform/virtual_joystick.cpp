#include "platform/virtual_joystick.h"

#include <SDL.h>

namespace {
int RawFromScaled(int v) {
  if (v <= -1000) return -32768;
  if (v >= 1000) return 32767;
  return v < 0 ? v * 32768 / 1000 : v * 32767 / 1000;
}
}  // namespace

VirtualJoystick::VirtualJoystick(const std::string& name, bool gameController) {
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return;
  subsystem_ = true;
  SDL_VirtualJoystickDesc desc;
  SDL_zero(desc);
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = gameController ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
  desc.naxes = gameController ? SDL_CONTROLLER_AXIS_MAX : 2;
  desc.nbuttons = gameController ? SDL_CONTROLLER_BUTTON_MAX : 4;
  desc.name = name.c_str();
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  if (index < 0) return;
  instance_ = SDL_JoystickGetDeviceInstanceID(index);
  handle_ = SDL_JoystickOpen(index);
}

VirtualJoystick::~VirtualJoystick() {
  Detach();
  if (subsystem_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

std::string VirtualJoystick::MappingGuid() const {
  if (!handle_) return {};
  SDL_JoystickGUID guid = SDL_JoystickGetGUID(static_cast<SDL_Joystick*>(handle_));
  // Mapping files leave out the checksum of the device's name (bytes 2 and 3).
  guid.data[2] = guid.data[3] = 0;
  char text[33] = {};
  SDL_JoystickGetGUIDString(guid, text, sizeof text);
  return text;
}

void VirtualJoystick::SetRawAxis(int axis, int raw) {
  if (handle_) SDL_JoystickSetVirtualAxis(static_cast<SDL_Joystick*>(handle_), axis, static_cast<Sint16>(raw));
}

void VirtualJoystick::SetStick(int x, int y) {
  // The controller's left stick is its axes 0 and 1, as on a plain joystick.
  SetRawAxis(0, RawFromScaled(x));
  SetRawAxis(1, RawFromScaled(y));
}

void VirtualJoystick::SetButton(int button, bool pressed) {
  if (handle_)
    SDL_JoystickSetVirtualButton(static_cast<SDL_Joystick*>(handle_), button,
                                 pressed ? SDL_PRESSED : SDL_RELEASED);
}

void VirtualJoystick::Detach() {
  if (!handle_) return;
  SDL_JoystickClose(static_cast<SDL_Joystick*>(handle_));
  handle_ = nullptr;
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (SDL_JoystickGetDeviceInstanceID(i) == instance_) {
      SDL_JoystickDetachVirtual(i);
      break;
    }
  }
  SDL_JoystickUpdate();
}
