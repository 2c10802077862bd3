#pragma once
// Game controllers and plain joysticks: listing, opening, reading. Axes come scaled to
// -1000 (left / up) .. 1000 (right / down); button 0 fires, button 1 opens the menu.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

struct JoystickState {
  int X = 0;
  int Y = 0;
  bool Fire = false;
  bool Menu = false;
};

// SDL's axis range -32768..32767 mapped onto -1000..1000, rounded to nearest.
int ScaleJoystickAxis(int raw);

class Joystick {
 public:
  ~Joystick();
  Joystick(const Joystick&) = delete;
  Joystick& operator=(const Joystick&) = delete;

  const std::string& Name() const { return name_; }
  bool IsGameController() const;
  // Brings the device's state up to date; false when it is gone (unplugged).
  bool Poll();
  // Looks for the device again (it may have been plugged back in under a new
  // identity); true when it is there to be read.
  bool Reacquire();
  // The state as of the last Poll; false when the device is gone.
  bool Read(JoystickState& state) const;

 private:
  friend class JoystickSystem;
  struct Impl;
  explicit Joystick(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
  std::string name_;
};

// The joystick subsystem; started by Start, ended by Stop or the destructor.
class JoystickSystem {
 public:
  JoystickSystem() = default;
  ~JoystickSystem() { Stop(); }
  JoystickSystem(const JoystickSystem&) = delete;
  JoystickSystem& operator=(const JoystickSystem&) = delete;

  bool Start(std::string& error);
  void Stop();
  bool Started() const { return started_; }
  // Adds the controller layouts of mapping files in SDL's format (gamecontrollerdb.txt):
  // the one beside the program file, then the one in the working directory, whose
  // layouts win. Returns how many layouts were read; missing files add none. A file
  // that is there but cannot be read whole (not a regular file, larger than
  // MaxMappingFileBytes) adds none either, and the reason goes to `refused`.
  int AddMappingFiles(const std::string& fileName, std::vector<std::string>& refused);
  // Real layout collections are well under 1 MB.
  static constexpr std::size_t MaxMappingFileBytes = std::size_t{4} << 20;
  // Devices attached now, in the system's order (0 .. count-1).
  int AttachedCount() const;
  // Opens attached device `deviceIndex`: as a game controller when the system knows
  // its layout, else as a plain joystick. Empty when it cannot be opened.
  std::unique_ptr<Joystick> Open(int deviceIndex) const;

 private:
  bool started_ = false;
};
