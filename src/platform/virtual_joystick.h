#pragma once
// A software joystick the system lists like a plugged-in one: tests and the scripted
// driver steer the game with it, no hardware needed.
#include <string>

class VirtualJoystick {
 public:
  // A game controller (left stick, A, B) or a plain joystick (axes 0 and 1, buttons 0
  // and 1). Check Attached(): the system may refuse.
  explicit VirtualJoystick(const std::string& name, bool gameController = false);
  ~VirtualJoystick();
  VirtualJoystick(const VirtualJoystick&) = delete;
  VirtualJoystick& operator=(const VirtualJoystick&) = delete;

  bool Attached() const { return handle_ != nullptr; }
  // The device's kind as a line of a controller mapping file names it (32 hex digits).
  std::string MappingGuid() const;
  // Position in -1000..1000 per axis, scaled onto the device's raw range.
  void SetStick(int x, int y);
  void SetRawAxis(int axis, int raw);
  void SetButton(int button, bool pressed);
  // Unplugs the device; it stays unplugged.
  void Detach();

 private:
  void* handle_ = nullptr;
  int instance_ = -1;
  bool subsystem_ = false;
};
