#pragma once
// A recorded game: what it was started with, and everything that reached the world
// while it ran, each stamped with the message-pump call that delivered it. The world
// is a function of these, so playing them into the same program gives the same game.
#include <array>
#include <compare>
#include <cstdint>
#include <string>
#include <vector>

#include "base/sha256.h"
#include "platform/events.h"
#include "play/game_host.h"

// 2: a key tapped between two player steps counts at the next step; games of format 1
// played without that rule and may not play back the same.
inline constexpr int ReplayFormatVersion = 2;
// A state check every this many passes of the main loop.
inline constexpr uint32_t ReplayCheckPasses = 64;

// Pass 0 is the game's start (before the main loop's first pass); the pump number
// counts the message-pump calls within the pass from 0.
struct PumpStamp {
  uint32_t pass = 0;
  uint32_t pump = 0;
  auto operator<=>(const PumpStamp&) const = default;
};

// The timers of a game whose firing changes it.
enum class GameTimer : uint8_t { Warp = 1, GameOver = 2 };

struct ReplayItem {
  enum class Kind : uint8_t { Input, Timer };
  PumpStamp at;
  Kind kind = Kind::Input;
  InputEvent input;  // Input
  GameTimer timer = GameTimer::Warp;
  // A timer fired by a pump call that began before the one of `at`, once that one and
  // the calls in it had ended (a handler's own loop ran in between).
  bool afterNested = false;
  bool operator==(const ReplayItem& o) const;
};

// A joystick poll whose result differs from that player's previous one; `poll` counts
// the player's polls from 0.
struct JoystickSample {
  uint32_t poll = 0;
  bool ok = true;
  JoystickReading reading;
  bool operator==(const JoystickSample& o) const;
};

struct LevelPlayed {
  int32_t index = 0;
  Sha256Digest digest{};
  bool operator==(const LevelPlayed&) const = default;
};

// What a game takes over from the games before it in the same run of the program.
struct CarriedState {
  std::array<int32_t, 4> worldClock{1, 1, 1, 1};
  int32_t panelRefreshCount = 0;
  JoystickReading joystick;
  // Per player: what a reset leaves as it was.
  struct Player {
    int32_t shotX = 0, shotY = 0, bombX = 0, bombY = 0, shotAge = 0, shotDirection = 0;
    int32_t codeUnderBomb = 0, menuChoice = 0;
    bool operator==(const Player&) const = default;
  };
  std::array<Player, 2> players;
  bool operator==(const CarriedState& o) const;
};

struct ReplaySettings {
  std::string program;     // name and version of the program that recorded it
  int64_t recordedAt = 0;  // seconds since 1970, UTC
  int32_t playerCount = 1;
  int32_t levelIndex = 0;  // the first level played
  bool randomLevels = false;
  int32_t levelCount = 0;  // levels the game could choose from
  std::string gameSpeed = "16";  // as the options held it
  std::array<int32_t, 2> devices{0, 0};          // 0 keyboard, n joystick n
  std::array<bool, 2> joystickOpened{false, false};  // for a chosen joystick
  std::array<std::array<int32_t, 6>, 2> keys{};  // Up, Down, Left, Right, Fire, Menu
  bool sound = true, music = true;
  uint32_t seed = 0;
  CarriedState carried;
  bool operator==(const ReplaySettings&) const = default;
};

struct StateCheck {
  uint32_t pass = 0;
  uint64_t hash = 0;
  bool operator==(const StateCheck&) const = default;
};

enum class ReplayEnding : uint8_t { BackToMenu = 1, ProgramClosed = 2 };

struct ReplayEnd {
  PumpStamp at;
  ReplayEnding how = ReplayEnding::BackToMenu;
  uint64_t finalHash = 0;
  std::array<int32_t, 2> points{0, 0};
  int32_t level = 0;  // the level played at the end
  bool levelFinished = false;  // some player warped to a next level
  bool operator==(const ReplayEnd&) const = default;
};

struct Replay {
  ReplaySettings settings;
  std::vector<LevelPlayed> levels;
  std::vector<ReplayItem> items;
  std::array<std::vector<JoystickSample>, 2> joystick;
  std::vector<StateCheck> checks;
  ReplayEnd end;
  bool operator==(const Replay&) const = default;
};
