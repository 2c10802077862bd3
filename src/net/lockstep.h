#pragma once
// A network game in lockstep, as a pump tap over the game's recorder. Each machine runs
// the whole game. What a recording of it keeps of a pass's input (the players' keys,
// the joystick readings, the firing of a game timer) is all that can make the two go
// apart, so that is what the machines exchange: the input this machine gathered before
// pass N goes to the other, and both hand both players' input of pass N to the game at
// the first pump call of pass N + delay, player 1's first. Until then nothing of it
// reaches the game. The host alone says when a game timer fires (its clock decides
// when one falls due); the joiner's game timers fire only where the host named them.
//
// The keys the game sees are the network key codes of each player (VK::NetPlayer1Keys
// and VK::NetPlayer2Keys), never a key of this keyboard, so a recording of the game
// plays back anywhere. Whatever else the local player presses belongs to the local
// window: a box or question open there, Print Screen, Escape for the abort question.
#include <array>
#include <deque>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "net/net_message.h"
#include "replay/pump_calls.h"
#include "ui/pump_tap.h"

struct LockstepSetup {
  int localPlayer = 1;  // 1 on the host, 2 on the joiner
  uint32_t delay = 3;   // passes between gathering a pass's input and applying it
  // This machine's keys for its player (its options' player 1): Up, Down, Left, Right,
  // Fire, Menu.
  std::array<int, PlayerActions> localKeys{};
};

// The key code a network game binds to a player's action.
int NetGameKey(int player, PlayerAction action);

class Lockstep : public PumpTap {
 public:
  using Sender = std::function<void(const NetMessage&)>;
  Lockstep(const LockstepSetup& setup, Sender send);

  const LockstepSetup& Setup() const { return setup_; }
  // The tap that records the game: told of every pump call, of what reaches the game
  // and of the game timers' firing.
  void SetRecorder(PumpTap* recorder) { recorder_ = recorder; }
  // Tells whether a box or form of this program is open: keys other than the player's
  // then go to it.
  std::function<bool()> modalOpen;
  // While a question of this machine's own is open (the abort question between passes),
  // what the pump delivers is not the game's and is not recorded.
  void SetLocalOnly(bool localOnly) { localOnly_ = localOnly; }

  // ---- passes ----
  // The pass that begins next (the main loop's first is 1).
  uint32_t NextPass() const { return calls_.Latest().pass + 1; }
  // Sends the input gathered for the next pass: the local player's keys, the joystick
  // reading when it differs from the last one sent, the host's timers that fell due,
  // and the state check when the next pass is one that keeps one. Nothing once this
  // machine has left.
  void SendInput(std::optional<uint64_t> check, std::optional<NetPad> pad);
  // Whether both players' input for the next pass is in.
  bool ReadyForNextPass() const;
  // The next pass begins (after ReadyForNextPass).
  void PassBegins();
  // The reading of `player`'s joystick in the pass running.
  bool JoystickPoll(int player, JoystickReading& reading) const;

  // ---- the other machine ----
  // A Pass, Leave or Desync message from the other machine; false with the reason when
  // it breaks the rules of the exchange.
  bool Receive(const NetMessage& m, std::string& why);

  // ---- the end ----
  // This machine's game ends. The game goes on for both while there is input of both,
  // up to the start of the pass after the one the last input sent is applied at; the
  // other machine is told so.
  void Leave(LeaveReason reason);
  bool Left() const { return left_; }
  // The pass at whose start the game ends for both (one of them left); none while it
  // goes on.
  std::optional<uint32_t> EndsAt() const;
  bool OtherLeft() const { return otherLeft_.has_value(); }
  LeaveReason OtherLeaveReason() const { return otherLeft_.value_or(LeaveReason::Left); }
  // The first check pass where the two games differed (here or as the other machine
  // found); the other machine is told of one found here.
  std::optional<uint32_t> DesyncAt() const { return desync_; }

  // What the local player asked for between passes.
  bool TakeAbortRequest();
  int TakeCaptureRequests();

  // ---- counts, for the benchmark and the title ----
  uint32_t InputsSent() const { return lastSent_; }
  uint32_t InputsReceived() const { return otherReceived_; }

  // ---- the pump tap ----
  void PumpBegins(bool fromWait, std::deque<InputEvent>& replayed) override;
  void PumpEnds() override;
  bool Admit(const InputEvent& e) override;
  void Dispatching(const InputEvent& e) override;
  bool TimerFires(int id, bool due) override;
  bool WaitGoesOn(bool timeLeft) override;

 private:
  // Both players' input for one pass.
  struct Slot {
    std::array<std::vector<NetKey>, 2> keys;
    std::array<std::optional<NetPad>, 2> pad;
    uint8_t timers = 0;
  };
  void Apply(int player, const NetPassInput& input);
  // The other machine's input of a pass, the first time it comes; false when it breaks
  // the rules of the exchange.
  bool TakeOtherInput(const NetPassInput& input, std::string& why);
  void Compare(uint32_t pass);
  int OtherPlayer() const { return 3 - setup_.localPlayer; }
  bool IsHost() const { return setup_.localPlayer == 1; }

  LockstepSetup setup_;
  Sender send_;
  PumpTap* recorder_ = nullptr;
  bool localOnly_ = false;
  PumpCalls calls_;
  std::map<uint32_t, Slot> slots_;
  std::vector<NetKey> gathered_;
  std::optional<NetPad> lastPadSent_;
  uint8_t timersDue_ = 0;   // host: fallen due, to be named in the next input sent
  uint8_t timersNamed_ = 0;  // host: named, not yet applied
  uint8_t timersNow_ = 0;    // the pass running: timers that fire at its first pump call
  std::array<NetPad, 2> pads_{};
  uint32_t lastSent_ = 0;
  std::deque<NetPassInput> recentlySent_;  // the last inputs sent before, for early copies
  uint32_t otherReceived_ = 0;
  std::map<uint32_t, uint64_t> ownChecks_, otherChecks_;
  bool left_ = false;
  std::optional<LeaveReason> otherLeft_;
  uint32_t otherLastSent_ = 0;
  std::optional<uint32_t> desync_;
  bool abortAsked_ = false;
  int capturesAsked_ = 0;
};
