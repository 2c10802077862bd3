// Two machines in lockstep, joined by an in-memory channel that carries each message in
// its packed form: what either player does reaches both games at the same pass, the
// host alone names when a game timer fires, a check that differs names its pass on
// both, a player who leaves ends the game for both at the same pass, and input that
// breaks the exchange's rules is refused with the reason.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "base/keys.h"
#include "net/lockstep.h"

namespace {

InputEvent Key(int vk, bool down, bool repeat = false) {
  InputEvent e;
  e.type = down ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp;
  e.vk = vk;
  e.repeat = repeat;
  return e;
}

// What the recorder behind the lockstep is told.
struct Recorder : PumpTap {
  std::vector<InputEvent> dispatched;
  std::vector<int> fired;
  void PumpBegins(bool, std::deque<InputEvent>&) override {}
  void PumpEnds() override {}
  bool Admit(const InputEvent&) override { return true; }
  void Dispatching(const InputEvent& e) override { dispatched.push_back(e); }
  bool TimerFires(int id, bool due) override {
    if (due) fired.push_back(id);
    return due;
  }
  bool WaitGoesOn(bool timeLeft) override { return timeLeft; }
};

struct Machine {
  explicit Machine(int player, uint32_t delay = 3)
      : lockstep(Setup(player, delay), [this](const NetMessage& m) { outbox.push_back(EncodeNetMessage(m)); }) {
    lockstep.SetRecorder(&recorder);
  }
  static LockstepSetup Setup(int player, uint32_t delay) {
    LockstepSetup s;
    s.localPlayer = player;
    s.delay = delay;
    s.localKeys = {VK::Up, VK::Down, VK::Left, VK::Right, VK::Control, VK::Shift};
    return s;
  }
  // A key as the window reports it; true when it went on to the window's forms.
  bool Press(const InputEvent& e) { return lockstep.Admit(e); }
  // The first pump call of the pass that just began: what reaches the game, with the pass.
  void FirstPump() {
    std::deque<InputEvent> replayed;
    lockstep.PumpBegins(false, replayed);
    for (const InputEvent& e : replayed) {
      lockstep.Dispatching(e);
      seen.push_back({lockstep.NextPass() - 1, e});
    }
    for (int id : armed)
      if (lockstep.TimerFires(id, due)) firedAt.push_back({lockstep.NextPass() - 1, id});
    lockstep.PumpEnds();
  }

  std::deque<std::string> outbox;
  Recorder recorder;
  Lockstep lockstep;
  std::vector<std::pair<uint32_t, InputEvent>> seen;
  std::vector<std::pair<uint32_t, int>> firedAt;
  std::vector<int> armed;  // game timers running in this game
  bool due = false;         // whether this machine's clock says they are due
  std::vector<std::string> faults;
};

// Carries what `from` sent to `to`.
void Deliver(Machine& from, Machine& to) {
  while (!from.outbox.empty()) {
    NetMessage m;
    std::string why;
    ASSERT_TRUE(DecodeNetMessage(from.outbox.front(), m, why)) << why;
    from.outbox.pop_front();
    if (!to.lockstep.Receive(m, why)) to.faults.push_back(why);
  }
}

// One pass on both machines; false when one of them has to wait.
bool Pass(Machine& host, Machine& joiner, std::optional<uint64_t> hostCheck = {},
          std::optional<uint64_t> joinerCheck = {}) {
  host.lockstep.SendInput(hostCheck, std::nullopt);
  joiner.lockstep.SendInput(joinerCheck, std::nullopt);
  Deliver(host, joiner);
  Deliver(joiner, host);
  if (!host.lockstep.ReadyForNextPass() || !joiner.lockstep.ReadyForNextPass()) return false;
  for (Machine* m : {&host, &joiner}) {
    m->lockstep.PassBegins();
    m->FirstPump();
  }
  return true;
}

bool SameEvent(const InputEvent& a, const InputEvent& b) {
  return a.type == b.type && a.vk == b.vk && a.repeat == b.repeat;
}

}  // namespace

TEST(LockstepTest, BothPlayersKeysReachBothGamesAtTheSamePassPlayerOneFirst) {
  Machine host(1), joiner(2);
  ASSERT_TRUE(Pass(host, joiner));  // pass 1
  // Gathered before pass 2: applied at pass 2 + 3 on both machines.
  EXPECT_FALSE(joiner.Press(Key(VK::Left, true)));
  EXPECT_FALSE(host.Press(Key(VK::Control, true)));
  EXPECT_FALSE(host.Press(Key(VK::Control, true, true)));
  for (int pass = 2; pass <= 6; ++pass) ASSERT_TRUE(Pass(host, joiner));

  const InputEvent fire = Key(VK::NetPlayer1Keys + static_cast<int>(PlayerAction::Fire), true);
  const InputEvent fireRepeat = Key(VK::NetPlayer1Keys + static_cast<int>(PlayerAction::Fire), true, true);
  const InputEvent left = Key(VK::NetPlayer2Keys + static_cast<int>(PlayerAction::Left), true);
  for (const Machine* m : {&host, &joiner}) {
    ASSERT_EQ(m->seen.size(), 3u);
    for (const auto& [pass, e] : m->seen) EXPECT_EQ(pass, 5u);
    EXPECT_TRUE(SameEvent(m->seen[0].second, fire));
    EXPECT_TRUE(SameEvent(m->seen[1].second, fireRepeat));
    EXPECT_TRUE(SameEvent(m->seen[2].second, left));
    // And so the recording has them, as the game got them.
    ASSERT_EQ(m->recorder.dispatched.size(), 3u);
    EXPECT_TRUE(SameEvent(m->recorder.dispatched[2], left));
  }
}

TEST(LockstepTest, OnlyThePlayersKeysAreTakenAndTheRestBelongsToTheWindow) {
  Machine host(1);
  bool boxOpen = false;
  host.lockstep.modalOpen = [&] { return boxOpen; };
  EXPECT_FALSE(host.Press(Key(VK::Escape, true)));
  EXPECT_TRUE(host.lockstep.TakeAbortRequest());
  EXPECT_FALSE(host.lockstep.TakeAbortRequest());
  EXPECT_FALSE(host.Press(Key(VK::PrintScreen, false)));
  EXPECT_EQ(host.lockstep.TakeCaptureRequests(), 1);
  EXPECT_FALSE(host.Press(Key(VK::F2, true)));
  // A box is open: it gets its keys, the player's keys still go to the game.
  boxOpen = true;
  EXPECT_TRUE(host.Press(Key(VK::Enter, true)));
  EXPECT_TRUE(host.Press(Key(VK::Escape, true)));
  EXPECT_FALSE(host.lockstep.TakeAbortRequest());
  EXPECT_FALSE(host.Press(Key(VK::Up, false)));
  InputEvent close;
  close.type = InputEvent::Type::Close;
  boxOpen = false;
  EXPECT_TRUE(host.Press(close));
}

TEST(LockstepTest, TheHostNamesWhenAGameTimerFiresAndBothFireItThere) {
  Machine host(1), joiner(2);
  const int warp = static_cast<int>(GameTimer::Warp);
  for (Machine* m : {&host, &joiner}) m->armed = {warp};
  ASSERT_TRUE(Pass(host, joiner));
  // The joiner's own clock says due: nothing fires there on its own.
  joiner.due = true;
  ASSERT_TRUE(Pass(host, joiner));
  ASSERT_TRUE(Pass(host, joiner));
  EXPECT_TRUE(joiner.firedAt.empty());
  // The host's clock says due in pass 3: named for pass 4 + 3.
  host.due = true;
  ASSERT_TRUE(Pass(host, joiner));  // pass 4, its first pump sees the timer due
  for (int pass = 5; pass <= 8; ++pass) ASSERT_TRUE(Pass(host, joiner));
  ASSERT_EQ(host.firedAt.size(), 1u);
  ASSERT_EQ(joiner.firedAt.size(), 1u);
  EXPECT_EQ(host.firedAt[0], joiner.firedAt[0]);
  EXPECT_EQ(host.firedAt[0].first, 8u);
  EXPECT_EQ(joiner.recorder.fired, std::vector<int>{warp});
}

TEST(LockstepTest, AGameStateThatDiffersAtACheckIsNamedOnBothMachines) {
  Machine host(1), joiner(2);
  for (uint32_t pass = 1; pass < 2 * ReplayCheckPasses; ++pass) {
    std::optional<uint64_t> h, j;
    if (pass == ReplayCheckPasses) h = j = 42;
    ASSERT_TRUE(Pass(host, joiner, h, j));
  }
  EXPECT_FALSE(host.lockstep.DesyncAt());
  EXPECT_FALSE(joiner.lockstep.DesyncAt());
  ASSERT_TRUE(Pass(host, joiner, 42, 43));
  ASSERT_TRUE(host.lockstep.DesyncAt());
  ASSERT_TRUE(joiner.lockstep.DesyncAt());
  EXPECT_EQ(*host.lockstep.DesyncAt(), 2 * ReplayCheckPasses);
  EXPECT_EQ(*joiner.lockstep.DesyncAt(), 2 * ReplayCheckPasses);
}

TEST(LockstepTest, APlayerWhoLeavesEndsTheGameForBothAtTheSamePass) {
  Machine host(1, 4), joiner(2, 4);
  for (int pass = 1; pass <= 10; ++pass) ASSERT_TRUE(Pass(host, joiner));
  // Between passes 10 and 11 the joiner answers the abort question.
  joiner.lockstep.Leave(LeaveReason::Left);
  Deliver(joiner, host);
  ASSERT_TRUE(host.lockstep.OtherLeft());
  EXPECT_EQ(host.lockstep.OtherLeaveReason(), LeaveReason::Left);
  ASSERT_TRUE(joiner.lockstep.EndsAt());
  EXPECT_EQ(host.lockstep.EndsAt(), joiner.lockstep.EndsAt());
  EXPECT_EQ(*host.lockstep.EndsAt(), 10u + 4u + 1u);
  // The passes up to there need nothing more from the joiner.
  while (host.lockstep.NextPass() < *host.lockstep.EndsAt()) ASSERT_TRUE(Pass(host, joiner));
  EXPECT_TRUE(joiner.outbox.empty());
}

TEST(LockstepTest, APadReadingHoldsFromTheSamePassOnBoth) {
  Machine host(1), joiner(2);
  NetPad pad;
  pad.reading.X = 900;
  pad.reading.FireButton = true;
  host.lockstep.SendInput(std::nullopt, std::nullopt);
  joiner.lockstep.SendInput(std::nullopt, pad);
  Deliver(host, joiner);
  Deliver(joiner, host);
  for (Machine* m : {&host, &joiner}) m->lockstep.PassBegins();
  for (uint32_t pass = 1; pass <= 5; ++pass) {
    JoystickReading there, here;
    EXPECT_TRUE(host.lockstep.JoystickPoll(2, there));
    EXPECT_TRUE(joiner.lockstep.JoystickPoll(2, here));
    EXPECT_EQ(there.X, here.X) << "pass " << pass;
    EXPECT_EQ(there.X, pass >= 4 ? 900 : 0) << "pass " << pass;
    EXPECT_EQ(here.FireButton, pass >= 4) << "pass " << pass;
    ASSERT_TRUE(Pass(host, joiner));
  }
}

TEST(LockstepTest, RefusesInputThatBreaksTheRules) {
  Machine host(1), joiner(2);
  NetMessage m;
  m.kind = NetKind::Pass;
  std::string why;
  m.input.pass = 2;  // pass 1 never came
  EXPECT_FALSE(host.lockstep.Receive(m, why));
  EXPECT_EQ(why, "its passes came out of order");
  m.input.pass = 1;
  m.input.timers = 1 << static_cast<int>(GameTimer::GameOver);
  EXPECT_FALSE(host.lockstep.Receive(m, why));
  EXPECT_EQ(why, "only the host names the game's timers");
  m.input.timers = 0;
  m.input.hasCheck = true;
  EXPECT_FALSE(host.lockstep.Receive(m, why));
  EXPECT_EQ(why, "it sent a state check at a pass that keeps none");
  // Running more than the delay ahead of the input it had from here.
  m.input.hasCheck = false;
  for (uint32_t pass = 1; pass <= 4; ++pass) {
    m.input.pass = pass;
    ASSERT_TRUE(host.lockstep.Receive(m, why)) << pass << ": " << why;
  }
  m.input.pass = 5;
  EXPECT_FALSE(host.lockstep.Receive(m, why));
  EXPECT_EQ(why, "it ran ahead of the input it had");
  NetMessage leave;
  leave.kind = NetKind::Leave;
  leave.pass = 9;
  EXPECT_FALSE(host.lockstep.Receive(leave, why));
  EXPECT_EQ(why, "its leave named a pass it did not send");
  NetMessage start;
  start.kind = NetKind::Start;
  EXPECT_FALSE(joiner.lockstep.Receive(start, why));
}

// Each input goes out reliably and again, in the next two passes' early copies; a lost
// datagram's input comes with the next one, and the reliable original that ENet sends
// again later is not taken twice.
TEST(LockstepTest, AnEarlyCopyStandsInForALostInputAndTheLateOriginalIsTakenOnce) {
  Machine host(1, 1), joiner(2, 1);
  auto decode = [](const std::string& bytes) {
    NetMessage m;
    std::string why;
    EXPECT_TRUE(DecodeNetMessage(bytes, m, why)) << why;
    return m;
  };
  // The host sends its input of the next pass and begins it.
  auto hostPass = [&] {
    host.lockstep.SendInput(std::nullopt, std::nullopt);
    host.lockstep.PassBegins();
  };
  // The joiner sends its input (lost in this test: the host waits for nothing here) and
  // begins the next pass if it can.
  auto joinerPass = [&] {
    joiner.lockstep.SendInput(std::nullopt, std::nullopt);
    joiner.outbox.clear();
    if (!joiner.lockstep.ReadyForNextPass()) return false;
    joiner.lockstep.PassBegins();
    joiner.FirstPump();
    return true;
  };
  hostPass();  // pass 1: a Pass message, nothing to copy yet
  ASSERT_EQ(host.outbox.size(), 1u);
  EXPECT_EQ(decode(host.outbox[0]).kind, NetKind::Pass);
  Deliver(host, joiner);
  ASSERT_TRUE(joinerPass());
  ASSERT_TRUE(joinerPass());
  // The host's input of pass 2, with a key, is lost.
  EXPECT_FALSE(host.Press(Key(VK::Left, true)));
  hostPass();
  const std::string lost = host.outbox.front();
  host.outbox.clear();
  EXPECT_FALSE(joinerPass()) << "pass 3 needs the host's input of pass 2";
  // Pass 3's datagram: its Pass message and the early copy of passes 1 and 2.
  hostPass();
  ASSERT_EQ(host.outbox.size(), 2u);
  const NetMessage echo = decode(host.outbox[1]);
  ASSERT_EQ(echo.kind, NetKind::Echo);
  ASSERT_EQ(echo.echoed.size(), 2u);
  EXPECT_EQ(echo.echoed[0].pass, 1u);
  EXPECT_EQ(echo.echoed[1].pass, 2u);
  std::string why;
  ASSERT_TRUE(joiner.lockstep.Receive(echo, why)) << why;
  ASSERT_TRUE(joiner.lockstep.ReadyForNextPass());
  joiner.lockstep.PassBegins();
  joiner.FirstPump();
  ASSERT_EQ(joiner.seen.size(), 1u);
  EXPECT_EQ(joiner.seen[0].first, 3u);
  EXPECT_TRUE(SameEvent(joiner.seen[0].second, Key(VK::NetPlayer1Keys + static_cast<int>(PlayerAction::Left), true)));
  // ENet's resending of the lost original comes in order with the rest: taken once.
  host.outbox.push_front(lost);
  Deliver(host, joiner);
  for (int pass = 4; pass <= 6; ++pass) {
    hostPass();
    Deliver(host, joiner);
    ASSERT_TRUE(joinerPass()) << pass;
  }
  EXPECT_EQ(joiner.seen.size(), 1u);
  EXPECT_TRUE(joiner.faults.empty()) << joiner.faults.front();
}

TEST(LockstepTest, EarlyCopiesBeyondAGapWaitAndOnesThatBreakTheRulesAreRefused) {
  Machine host(1);
  NetMessage echo;
  echo.kind = NetKind::Echo;
  echo.echoed.resize(2);
  echo.echoed[0].pass = 2;
  echo.echoed[1].pass = 3;
  std::string why;
  // Pass 1 has not come: the copies are of no use yet, and no fault either.
  ASSERT_TRUE(host.lockstep.Receive(echo, why)) << why;
  EXPECT_EQ(host.lockstep.InputsReceived(), 0u);
  echo.echoed[0].pass = 1;
  echo.echoed[1].pass = 2;
  echo.echoed[1].hasCheck = true;  // pass 2 keeps no check
  EXPECT_FALSE(host.lockstep.Receive(echo, why));
  EXPECT_EQ(why, "it sent a state check at a pass that keeps none");
}
