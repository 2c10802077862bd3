#pragma once
// What the two machines of a network game tell each other, and its one packed form.
// Every message is small and bounded; the reader checks its kind, its size and every
// field's range before the caller sees any of it. Nothing in a message names a file:
// levels are numbers the receiver checks against its own, keys are player actions.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/sha256.h"
#include "play/game_host.h"
#include "replay/replay.h"

// Both ends must speak the same.
inline constexpr uint32_t NetProtocolVersion = 2;
// No message is larger: a reader refuses more before reading anything.
inline constexpr std::size_t MaxNetMessageBytes = 4096;
inline constexpr std::size_t MaxNetLevels = 100;
// Key events of one pass at most (a pass lasts a few ms; a player's hands make few).
inline constexpr std::size_t MaxKeysPerPass = 32;
// The input delay in passes, at most.
inline constexpr uint32_t MaxInputDelay = 240;
inline constexpr std::size_t MaxProgramText = 64;

enum class NetKind : uint8_t {
  Hello = 1,  // joiner → host: its program and its level files
  Welcome,    // host → joiner: the two can play together
  Refuse,     // host → joiner: they cannot, and why
  Ping,       // either: a stamp to send back, for the round trip and to show it is there
  Pong,
  Ready,      // joiner → host: whether it can start a game now (at its title menu)
  Start,      // host → joiner: a game begins, with its settings
  Go,         // joiner → host: the answer, with its player's joystick
  Pass,       // either: the input of one pass
  Leave,      // either: its game ends
  Desync,     // either: the two games went apart
  Echo,       // either, unreliably: copies of the last inputs sent, to get past a lost datagram
};
inline constexpr uint8_t LastNetKind = static_cast<uint8_t>(NetKind::Echo);
// Inputs an Echo holds at most.
inline constexpr std::size_t MaxEchoedInputs = 4;

enum class RefuseReason : uint8_t { Version = 1, Levels = 2 };
enum class LeaveReason : uint8_t { Left = 1, Ended = 2, Closed = 3 };
inline constexpr uint8_t LastLeaveReason = static_cast<uint8_t>(LeaveReason::Closed);

// The player actions a key event can carry, as the options list a player's keys.
enum class PlayerAction : uint8_t { Up, Down, Left, Right, Fire, Menu };
inline constexpr int PlayerActions = 6;

// One key event of a player: which action, pressed or released, the keyboard's repeat.
struct NetKey {
  PlayerAction action = PlayerAction::Up;
  bool down = true;
  bool repeat = false;
  bool operator==(const NetKey&) const = default;
};

struct NetPad {
  bool ok = true;
  JoystickReading reading;
  bool operator==(const NetPad& o) const;
};

// The input one machine gathered before pass `pass` began; both apply it `delay` passes later.
struct NetPassInput {
  uint32_t pass = 0;
  std::vector<NetKey> keys;
  bool padChanged = false;
  NetPad pad;
  // The host's game timers (bit 1 << GameTimer) that fire when this input is applied.
  uint8_t timers = 0;
  // The state check at the start of `pass`, on the passes where the replay keeps one.
  bool hasCheck = false;
  uint64_t check = 0;
  bool operator==(const NetPassInput&) const = default;
};

struct NetMessage {
  NetKind kind = NetKind::Ping;
  // Hello, Welcome, Refuse: the sender's program and version.
  std::string program;
  uint32_t protocol = NetProtocolVersion;  // Hello
  std::vector<Sha256Digest> levels;        // Hello: the digest of each level file, from 00
  RefuseReason refuse = RefuseReason::Version;
  int32_t level = -1;  // Refuse for Levels: the first level that differs
  uint32_t stamp = 0;  // Ping, Pong
  bool flag = false;   // Ready: ready; Go: accepted; Go with a joystick: it opened
  ReplaySettings settings;  // Start
  uint32_t delay = 0;       // Start: the input delay in passes
  int32_t device = 0;       // Go: the joystick the joiner's player uses (0 the keyboard)
  bool padOpened = false;   // Go
  NetPassInput input;       // Pass
  std::vector<NetPassInput> echoed;  // Echo: inputs of consecutive passes, the oldest first
  uint32_t pass = 0;        // Leave: the last pass whose input it sent; Desync: the check's pass
  LeaveReason leave = LeaveReason::Left;
};

std::string EncodeNetMessage(const NetMessage& m);
// False with the reason when `bytes` is not exactly one well-formed message.
bool DecodeNetMessage(std::string_view bytes, NetMessage& m, std::string& why);
