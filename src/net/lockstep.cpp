#include "net/lockstep.h"

#include <algorithm>

#include "base/keys.h"

namespace {
// Repeats beyond this many waiting keys are dropped: a game held up for long (a box
// open) must not gather an endless queue from a key held down.
constexpr std::size_t MaxGathered = 256;
// Inputs sent before the current one that go again in each early copy: a lost datagram
// is made good by the next one, two lost in a row by the one after.
constexpr std::size_t EchoedInputs = 2;

uint8_t TimerBit(int id) { return id >= 1 && id <= 7 ? static_cast<uint8_t>(1 << id) : 0; }
}  // namespace

int NetGameKey(int player, PlayerAction action) {
  return (player == 2 ? VK::NetPlayer2Keys : VK::NetPlayer1Keys) + static_cast<int>(action);
}

Lockstep::Lockstep(const LockstepSetup& setup, Sender send) : setup_(setup), send_(std::move(send)) {
  setup_.delay = std::clamp<uint32_t>(setup_.delay, 1, MaxInputDelay);
}

void Lockstep::SendInput(std::optional<uint64_t> check, std::optional<NetPad> pad) {
  const uint32_t pass = NextPass();
  if (left_ || pass <= lastSent_) return;
  NetPassInput in;
  in.pass = pass;
  const std::size_t n = std::min(gathered_.size(), MaxKeysPerPass);
  in.keys.assign(gathered_.begin(), gathered_.begin() + static_cast<std::ptrdiff_t>(n));
  gathered_.erase(gathered_.begin(), gathered_.begin() + static_cast<std::ptrdiff_t>(n));
  if (pad && (!lastPadSent_ || !(*pad == *lastPadSent_))) {
    in.padChanged = true;
    in.pad = *pad;
    lastPadSent_ = pad;
  }
  if (IsHost()) {
    in.timers = timersDue_ & ~timersNamed_;
    timersNamed_ |= in.timers;
    timersDue_ = 0;
  }
  if (check && pass % ReplayCheckPasses == 0) {
    in.hasCheck = true;
    in.check = *check;
  }
  Apply(setup_.localPlayer, in);
  lastSent_ = pass;
  NetMessage m;
  m.kind = NetKind::Pass;
  m.input = std::move(in);
  send_(m);
  if (!recentlySent_.empty()) {
    NetMessage echo;
    echo.kind = NetKind::Echo;
    echo.echoed.assign(recentlySent_.begin(), recentlySent_.end());
    send_(echo);
  }
  recentlySent_.push_back(m.input);
  if (recentlySent_.size() > EchoedInputs) recentlySent_.pop_front();
  if (m.input.hasCheck) {
    ownChecks_[pass] = m.input.check;
    Compare(pass);
  }
}

void Lockstep::Apply(int player, const NetPassInput& in) {
  Slot& slot = slots_[in.pass + setup_.delay];
  slot.keys[player - 1] = in.keys;
  if (in.padChanged) slot.pad[player - 1] = in.pad;
  if (player == 1) slot.timers |= in.timers;
}

bool Lockstep::ReadyForNextPass() const {
  const uint32_t pass = NextPass();
  if (pass <= setup_.delay) return true;
  const uint32_t needed = pass - setup_.delay;
  return (left_ || lastSent_ >= needed) && otherReceived_ >= needed;
}

void Lockstep::PassBegins() {
  calls_.PassBegins();
  const uint32_t pass = calls_.Latest().pass;
  timersNow_ = 0;
  slots_.erase(slots_.begin(), slots_.lower_bound(pass));
  if (auto it = slots_.find(pass); it != slots_.end()) {
    for (int p = 0; p < 2; ++p)
      if (it->second.pad[p]) pads_[p] = *it->second.pad[p];
    timersNow_ = it->second.timers;
  }
  // Named timers are applied now, or not at all (one not running then is not fired).
  timersNamed_ &= static_cast<uint8_t>(~timersNow_);
}

bool Lockstep::JoystickPoll(int player, JoystickReading& reading) const {
  if (player < 1 || player > 2) return false;
  reading = pads_[player - 1].reading;
  return pads_[player - 1].ok;
}

bool Lockstep::TakeOtherInput(const NetPassInput& in, std::string& why) {
  // An early copy and its reliable original both come; the first one counts.
  if (in.pass <= otherReceived_) return true;
  if (in.pass != otherReceived_ + 1) {
    why = "its passes came out of order";
    return false;
  }
  // It cannot have gone past the input it had from here.
  if (in.pass > lastSent_ + setup_.delay + 1) {
    why = "it ran ahead of the input it had";
    return false;
  }
  if (in.timers && OtherPlayer() != 1) {
    why = "only the host names the game's timers";
    return false;
  }
  if (in.hasCheck && in.pass % ReplayCheckPasses != 0) {
    why = "it sent a state check at a pass that keeps none";
    return false;
  }
  Apply(OtherPlayer(), in);
  otherReceived_ = in.pass;
  if (in.hasCheck) {
    otherChecks_[in.pass] = in.check;
    Compare(in.pass);
  }
  return true;
}

bool Lockstep::Receive(const NetMessage& m, std::string& why) {
  switch (m.kind) {
    case NetKind::Pass:
      // Nothing comes after a leave on an ordered channel; a late one is of no use.
      if (otherLeft_) return true;
      return TakeOtherInput(m.input, why);
    case NetKind::Echo:
      if (otherLeft_) return true;
      // Copies beyond a gap wait for the reliable channel to fill it.
      for (const NetPassInput& in : m.echoed)
        if (in.pass <= otherReceived_ + 1 && !TakeOtherInput(in, why)) return false;
      return true;
    case NetKind::Leave:
      if (otherLeft_) return true;
      if (m.pass != otherReceived_) {
        why = "its leave named a pass it did not send";
        return false;
      }
      otherLeft_ = m.leave;
      otherLastSent_ = m.pass;
      return true;
    case NetKind::Desync:
      if (!desync_) desync_ = m.pass;
      return true;
    default:
      why = "it sent a message that has no place in a game";
      return false;
  }
}

void Lockstep::Compare(uint32_t pass) {
  auto own = ownChecks_.find(pass);
  auto other = otherChecks_.find(pass);
  if (own == ownChecks_.end() || other == otherChecks_.end()) return;
  if (own->second != other->second && !desync_) {
    desync_ = pass;
    NetMessage m;
    m.kind = NetKind::Desync;
    m.pass = pass;
    send_(m);
  }
  ownChecks_.erase(own);
  otherChecks_.erase(other);
}

void Lockstep::Leave(LeaveReason reason) {
  if (left_) return;
  left_ = true;
  gathered_.clear();
  NetMessage m;
  m.kind = NetKind::Leave;
  m.pass = lastSent_;
  m.leave = reason;
  send_(m);
}

std::optional<uint32_t> Lockstep::EndsAt() const {
  // The pass after the last that has input from both: where the other machine, lacking
  // the next input, learns of the leave before it could begin that pass.
  std::optional<uint32_t> end;
  if (left_) end = lastSent_ + setup_.delay + 1;
  if (otherLeft_) {
    const uint32_t other = otherLastSent_ + setup_.delay + 1;
    end = end ? std::min(*end, other) : other;
  }
  return end;
}

bool Lockstep::TakeAbortRequest() {
  const bool asked = abortAsked_;
  abortAsked_ = false;
  return asked;
}

int Lockstep::TakeCaptureRequests() {
  const int n = capturesAsked_;
  capturesAsked_ = 0;
  return n;
}

void Lockstep::PumpBegins(bool fromWait, std::deque<InputEvent>& replayed) {
  calls_.Begin();
  const PumpStamp at = calls_.Latest();
  if (at.pump == 0 && at.pass >= 1 && !localOnly_) {
    if (auto it = slots_.find(at.pass); it != slots_.end()) {
      for (int p = 1; p <= 2; ++p)
        for (const NetKey& k : it->second.keys[p - 1]) {
          InputEvent e;
          e.type = k.down ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp;
          e.vk = NetGameKey(p, k.action);
          e.repeat = k.repeat;
          replayed.push_back(e);
        }
      slots_.erase(it);
    }
  }
  if (recorder_) recorder_->PumpBegins(fromWait, replayed);
}

void Lockstep::PumpEnds() {
  calls_.End();
  if (recorder_) recorder_->PumpEnds();
}

bool Lockstep::Admit(const InputEvent& e) {
  if (e.type == InputEvent::Type::Close) return true;
  const bool key = e.type == InputEvent::Type::KeyDown || e.type == InputEvent::Type::KeyUp;
  if (key) {
    const auto& keys = setup_.localKeys;
    if (const auto it = std::find(keys.begin(), keys.end(), e.vk); it != keys.end() && e.vk != 0) {
      if (!left_ && (!e.repeat || gathered_.size() < MaxGathered))
        gathered_.push_back({static_cast<PlayerAction>(it - keys.begin()), e.type == InputEvent::Type::KeyDown, e.repeat});
      return false;
    }
  }
  if (modalOpen && modalOpen()) return true;
  if (e.type == InputEvent::Type::KeyDown && e.vk == VK::Escape && !e.repeat) abortAsked_ = true;
  if (e.type == InputEvent::Type::KeyUp && e.vk == VK::PrintScreen) ++capturesAsked_;
  return false;
}

void Lockstep::Dispatching(const InputEvent& e) {
  if (!localOnly_ && recorder_) recorder_->Dispatching(e);
}

bool Lockstep::TimerFires(int id, bool due) {
  const uint8_t bit = TimerBit(id);
  bool fires = false;
  const uint32_t pass = calls_.Latest().pass;
  if (!localOnly_ && (timersNow_ & bit) && calls_.Running() == PumpStamp{pass, 0}) {
    fires = true;
    timersNow_ &= static_cast<uint8_t>(~bit);
  } else if (IsHost() && due && !left_ && !(timersNamed_ & bit)) {
    timersDue_ |= bit;
  }
  if (recorder_) recorder_->TimerFires(id, fires);
  return fires;
}

bool Lockstep::WaitGoesOn(bool timeLeft) {
  if (recorder_) recorder_->WaitGoesOn(timeLeft);
  return timeLeft;
}
