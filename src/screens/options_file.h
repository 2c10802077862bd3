#pragma once
// The text of Options.dat: five CR LF lines of whitespace-separated words.
#include <array>
#include <istream>
#include <string>

struct KeyBinding {
  std::string name;  // only shown and saved
  int code = 0;      // the virtual-key code the game reacts to
};

struct PlayerControls {
  int device = 0;  // 0 = keyboard, k = the k-th joystick
  // Up, Down, Left, Right, Fire, Menu.
  std::array<KeyBinding, 6> keys;
};

struct GameOptions {
  std::string GameSpeed;
  std::array<PlayerControls, 2> players;
  std::string sound;
  std::string music;
};

// Milliseconds a game pass waits unless the player chose otherwise.
inline constexpr int DefaultGameSpeed = 16;

// The options a game plays with, as values: what the screen's words say at its start.
struct GameSettings {
  int speed = DefaultGameSpeed;  // milliseconds a pass
  // Why the speed's word is no number (the game then plays at the default), or empty.
  std::string speedFault;
  std::array<PlayerControls, 2> players;
  bool sound = false;
  bool music = false;
};
GameSettings SettingsOf(const GameOptions& options);

// The longest word the reader takes.
constexpr size_t MaxOptionsWord = 51;

// The whole file as it is written.
std::string FormatOptions(const GameOptions& options);

// Reads the words in file order into `options`, each value as soon as it is read.
// Stops at the first fault and returns its description (empty when all were read),
// so the values before the fault are taken and the rest keep what they held.
std::string ParseOptions(std::istream& in, GameOptions& options);


