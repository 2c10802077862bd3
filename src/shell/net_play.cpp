#include "shell/net_play.h"

#include <algorithm>
#include <chrono>

#include "base/numbers.h"
#include "replay/game_state_hash.h"
#include "screens/options.h"
#include "shell/program.h"
#include "shell/program_name.h"

namespace {

// How often the connection is looked after between the game's own passes.
constexpr int ServiceEveryMs = 10;
// How long the host waits for the joiner's answer to a proposed game.
constexpr int AnswerWaitMs = 5000;

using SteadyClock = std::chrono::steady_clock;

int MsSince(SteadyClock::time_point since) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - since).count());
}

int PassMs(const std::string& gameSpeed) {
  int speed = 0;
  if (!ParseInt(gameSpeed, speed)) speed = DefaultGameSpeed;
  return std::max(speed, 1);
}

}  // namespace

NetPlay::NetPlay(Program& program) : program_(program) {}

NetPlay::~NetPlay() {
  for (Timer* t : {serviceTimer_, startTimer_, noticeTimer_})
    if (t) {
      t->SetInterval(0);
      t->onTimer = nullptr;
    }
}

bool NetPlay::Open(const NetRequest& request, std::string& error) {
  request_ = request;
  NetIdentity me{ProgramName, LevelDigests(program_.mainForm->StartDirectory())};
  peer_ = request.host ? NetPeer::Host(request.port, std::move(me), error)
                       : NetPeer::Join(request.address, request.port, std::move(me), error);
  if (!peer_) return false;
  addresses_ = LocalAddresses();
  if (addresses_.empty()) addresses_.push_back("127.0.0.1");
  App& app = program_.app;
  serviceTimer_ = &app.CreateTimer();
  serviceTimer_->onTimer = [this] { Service(); };
  serviceTimer_->SetInterval(ServiceEveryMs);
  startTimer_ = &app.CreateTimer();
  startTimer_->onTimer = [this] {
    startTimer_->SetInterval(0);
    if (!proposed_) return;
    const ReplaySettings settings = *proposed_;
    proposed_.reset();
    if (peer_->Game()) RunGame(settings);
  };
  noticeTimer_ = &app.CreateTimer();
  noticeTimer_->onTimer = [this] {
    noticeTimer_->SetInterval(0);
    ShowNotices();
  };
  baseTitle_ = app.Title();
  UpdateTitle();
  return true;
}

bool NetPlay::IsHost() const { return peer_ && peer_->GetRole() == NetPeer::Role::Host; }

std::string NetPlay::Announcement() const {
  if (!IsHost()) return {};
  const std::string port = std::to_string(peer_->Port());
  std::string text = "TROK Mirel hosts a network game on UDP port " + port + ". The other player joins with:\n";
  for (const std::string& a : addresses_) text += "  trok --join " + a + ":" + port + "\n";
  text += "(Behind a home router, forward UDP port " + port + " to this machine.)\n";
  return text;
}

void NetPlay::Service() {
  peer_->Service(0);
  if (!IsHost()) {
    peer_->SetReady(ReadyToStart());
    TakeProposal();
  }
  const NetPeer::State state = peer_->GetState();
  if (!inGame_ && (state == NetPeer::State::Meeting || state == NetPeer::State::Connected) &&
      peer_->SilentMs() >= static_cast<uint64_t>(NetSilenceMs))
    peer_->Drop("The other player has not answered for 5 seconds: the connection is closed.");
  // Shown by a timer of their own, so that the connection is kept while a box is open.
  if (!inGame_ && peer_->HasNotice() && noticeTimer_->Interval() == 0) noticeTimer_->SetInterval(1);
  UpdateTitle();
}

void NetPlay::ShowNotices() {
  while (!inGame_ && !program_.app.Terminated())
    if (auto notice = peer_->TakeNotice())
      program_.app.MessageBox(BoxKind::Message, *notice);
    else
      break;
}

bool NetPlay::ReadyToStart() const {
  const Program& p = program_;
  return p.startup->StartupDone && p.app.Visible() == p.mainForm.get() && p.mainForm->InTitleMenu() &&
         p.app.OpenBoxTexts().empty() && !inGame_ && !proposed_ && !p.app.Terminated();
}

void NetPlay::TakeProposal() {
  std::optional<NetPeer::GameProposal> proposal = peer_->TakeProposal();
  if (!proposal) return;
  ReplaySettings& s = proposal->settings;
  if (!ReadyToStart() || s.levelCount != program_.session->game.LevelCount) {
    peer_->AnswerProposal({false, 0, false});
    return;
  }
  // This machine's player is player 2, with its own player 1's keys or joystick.
  const GameOptions mine = program_.optionsForm->OptionsInForce();
  localPadDevice_ = std::max(mine.players[0].device, 0);
  localPadOpened_ = localPadDevice_ > 0 && program_.input.OpenJoystick(localPadDevice_ - 1, 2);
  s.devices[1] = localPadDevice_;
  s.joystickOpened[1] = localPadOpened_;
  // The host's input may come before the game begins here.
  PrepareLockstep(proposal->delay);
  peer_->AnswerProposal({true, localPadDevice_, localPadOpened_});
  proposed_ = s;
  // Not from within this timer's handler: the connection is looked after during the game.
  startTimer_->SetInterval(1);
}

void NetPlay::StartFromTitleMenu() {
  App& app = program_.app;
  auto refuse = [&app](const std::string& text) {
    app.SetCursor(CursorKind::Arrow);
    app.MessageBox(BoxKind::Message, text);
  };
  if (!IsHost()) return refuse("In a network game the host starts each game.");
  if (peer_->GetState() != NetPeer::State::Connected)
    return refuse("No other player has joined yet. The other player starts the game with\n" +
                  std::string("trok --join ADDRESS:") + std::to_string(peer_->Port()) +
                  " (see the window's title).");
  if (!peer_->OtherReady()) return refuse("The other player is not at the title menu yet.");
  ReplaySettings s = program_.session->NetGameSettings();
  const GameOptions mine = program_.optionsForm->OptionsInForce();
  localPadDevice_ = std::max(mine.players[0].device, 0);
  localPadOpened_ = localPadDevice_ > 0 && program_.input.OpenJoystick(localPadDevice_ - 1, 1);
  s.devices[0] = localPadDevice_;
  s.joystickOpened[0] = localPadOpened_;
  const uint32_t delay = fixedDelay_ ? *fixedDelay_ : InputDelayFor(peer_->RoundTripMs(), PassMs(s.gameSpeed));
  // The joiner's input may come with its answer.
  PrepareLockstep(delay);
  peer_->ProposeGame(s, delay);
  const auto asked = SteadyClock::now();
  std::optional<NetPeer::GameAnswer> answer;
  while (!(answer = peer_->TakeAnswer())) {
    if (app.Terminated()) return peer_->EndGame();
    if (peer_->GetState() != NetPeer::State::Connected) {
      peer_->EndGame();
      return refuse("The other player has gone.");
    }
    if (MsSince(asked) > AnswerWaitMs) {
      // It may still start: without the connection its game ends at once.
      peer_->EndGame();
      peer_->Drop("The other player did not answer the start of a game: the connection is closed.");
      app.SetCursor(CursorKind::Arrow);
      return;
    }
    peer_->Service(2);
    app.ProcessMessages();
  }
  if (!answer->accepted) {
    peer_->EndGame();
    return refuse("The other player is not at the title menu yet.");
  }
  s.devices[1] = answer->device;
  s.joystickOpened[1] = answer->padOpened;
  RunGame(s);
}

void NetPlay::PrepareLockstep(uint32_t delay) {
  App& app = program_.app;
  LockstepSetup setup;
  setup.localPlayer = IsHost() ? 1 : 2;
  setup.delay = delay;
  const GameOptions mine = program_.optionsForm->OptionsInForce();
  for (int k = 0; k < PlayerActions; ++k) setup.localKeys[k] = mine.players[0].keys[k].code;
  Lockstep& lockstep = peer_->BeginGame(setup);
  lockstep.modalOpen = [&app] { return !app.OpenBoxTexts().empty(); };
  delay_ = lockstep.Setup().delay;
}

void NetPlay::RunGame(const ReplaySettings& settings) {
  Lockstep& lockstep = *peer_->Game();
  inGame_ = true;
  ending_.clear();
  resultsToo_ = false;
  net_ = GameSession::NetGame{};
  net_.beforePass = [this](const std::function<bool()>& over) { return BeforePass(over); };
  net_.atEnd = [this] { AfterGame(); };
  UpdateTitle();
  program_.session->BeginNetGame(settings, lockstep, net_);
  inGame_ = false;
  peer_->EndGame();
  lastEnding_ = ending_;
  // The game's own ending told what there was to tell.
  while (peer_->TakeNotice()) {
  }
  UpdateTitle();
}

bool NetPlay::BeforePass(const std::function<bool()>& over) {
  App& app = program_.app;
  Lockstep& lockstep = *peer_->Game();
  auto localRequests = [&] {
    for (int n = lockstep.TakeCaptureRequests(); n > 0; --n) program_.mainForm->CaptureScreen(*program_.mainForm);
    if (lockstep.TakeAbortRequest()) AskAbort();
  };
  localRequests();
  if (over()) return false;
  const uint32_t pass = lockstep.NextPass();
  auto ended = [&] {
    if (std::optional<std::string> why = Fault()) {
      EndGame(*why, !lockstep.DesyncAt());
      return true;
    }
    const std::optional<uint32_t> end = lockstep.EndsAt();
    if (!end || pass < *end) return false;
    std::string why;
    if (lockstep.OtherLeft() && !lockstep.Left())
      why = lockstep.OtherLeaveReason() == LeaveReason::Ended ? "The other player's game ended."
                                                              : "The other player left the game.";
    EndGame(why, !why.empty());
    return true;
  };
  if (ended()) return false;
  if (!lockstep.Left()) {
    std::optional<uint64_t> check;
    if (pass % ReplayCheckPasses == 0) check = GameStateHash(program_.session->game);
    lockstep.SendInput(check, LocalPad());
  }
  // Sends the input with the acknowledgements due, in one datagram, and takes what came.
  peer_->Service(0);
  const auto since = SteadyClock::now();
  while (!lockstep.ReadyForNextPass()) {
    if (ended()) return false;
    if (!waitingShown_ && MsSince(since) >= NetWaitShownMs) ShowWaiting(true);
    peer_->Service(1);
    app.ProcessMessages();
    if (over()) return false;
    localRequests();
    if (over()) return false;
  }
  ShowWaiting(false);
  // The input that just came may hold a check that differs.
  return !ended();
}

std::optional<std::string> NetPlay::Fault() const {
  const Lockstep& lockstep = *peer_->Game();
  if (const std::optional<uint32_t> pass = lockstep.DesyncAt())
    return "The two games went apart at pass " + std::to_string(*pass) +
           ". Both machines keep their replay of this game (in Replays, marked _desync) for a bug report.";
  // Its input up to its end is all in.
  if (lockstep.OtherLeft()) return std::nullopt;
  if (peer_->GetState() != NetPeer::State::Connected) return "The connection to the other player was lost.";
  if (const std::optional<std::string>& why = peer_->GameFault())
    return "The other player's program sent what this one cannot use (" + *why + "): the game ends.";
  if (peer_->SilentMs() >= static_cast<uint64_t>(NetSilenceMs))
    return "The other player has not answered for 5 seconds: the game ends.";
  return std::nullopt;
}

void NetPlay::AskAbort() {
  GameSession& session = *program_.session;
  Lockstep& lockstep = *peer_->Game();
  const bool someoneInPlay = !session.game.Player1.Dead || !session.game.Player2.Dead;
  if (!someoneInPlay || lockstep.Left() || session.GameStopped) return;
  // The question is this machine's alone: nothing of it reaches the game or its replay.
  lockstep.SetLocalOnly(true);
  session.AbortQuestionOpen = true;
  const BoxResult answer = program_.app.MessageBox(BoxKind::Confirmation, "Abort game and return to menu?");
  session.AbortQuestionOpen = false;
  lockstep.SetLocalOnly(false);
  if (answer == BoxResult::Yes && !program_.app.Terminated())
    lockstep.Leave(LeaveReason::Left);
  else if (!session.GameStopped)
    session.DrawRoom();
}

void NetPlay::EndGame(const std::string& why, bool otherCaused) {
  ending_ = why;
  resultsToo_ = otherCaused;
  ShowWaiting(false);
  program_.session->EndNetGameBeforePass();
}

void NetPlay::AfterGame() {
  App& app = program_.app;
  Lockstep& lockstep = *peer_->Game();
  // The other machine's game ends where this one's input ends, if it goes on.
  if (!lockstep.Left()) lockstep.Leave(app.Terminated() ? LeaveReason::Closed : LeaveReason::Ended);
  peer_->Flush();
  ShowWaiting(false);
  net_.keepForReport = lockstep.DesyncAt().has_value();
  if (app.Terminated()) return;
  if (!ending_.empty()) app.MessageBox(BoxKind::Message, ending_);
  if (resultsToo_ && !app.Terminated()) program_.session->EnterResults();
}

std::optional<NetPad> NetPlay::LocalPad() {
  if (localPadDevice_ <= 0 || !localPadOpened_) return std::nullopt;
  NetPad pad;
  pad.ok = program_.input.PollJoystick(IsHost() ? 1 : 2, pad.reading);
  return pad;
}

void NetPlay::ShowWaiting(bool waiting) {
  if (waiting == waitingShown_) return;
  waitingShown_ = waiting;
  UpdateTitle();
}

std::string NetPlay::Status() const {
  const std::string peer = peer_->PeerAddress();
  const int rtt = peer_->RoundTripMs();
  const std::string roundTrip = rtt >= 0 ? ", round trip " + std::to_string(rtt) + " ms" : "";
  if (inGame_) {
    if (waitingShown_) return "Waiting for the other player...";
    return "Network game: input delay " + std::to_string(delay_) + (delay_ == 1 ? " pass" : " passes") + roundTrip;
  }
  switch (peer_->GetState()) {
    case NetPeer::State::Waiting:
      return "Network game: the other player joins with  trok --join " + addresses_.front() + ":" +
             std::to_string(peer_->Port());
    case NetPeer::State::Connecting:
      return "Network game: connecting to " + request_.address + ":" + std::to_string(request_.port);
    case NetPeer::State::Meeting:
      return "Network game: meeting the other player at " + peer;
    case NetPeer::State::Connected:
      if (IsHost())
        return peer_->OtherReady() ? "Network game with " + peer + roundTrip + ": F2 or F1 starts a game for both"
                                   : "Network game with " + peer + roundTrip + ": the other player is busy";
      return "Network game with the host " + peer + roundTrip + ": waiting for the host to start a game";
    case NetPeer::State::Closed:
      break;
  }
  return "Network game: not connected";
}

void NetPlay::UpdateTitle() {
  TMainForm& window = *program_.mainForm;
  const std::string status = Status();
  const std::string title = baseTitle_ + " - " + status;
  if (title != shownTitle_) {
    shownTitle_ = title;
    program_.app.SetTitle(title);
  }
  Label& line = *window.NetLbl;
  const bool shown = inGame_ ? waitingShown_ : window.InTitleMenu();
  if (line.visible != shown || line.text != status) {
    line.visible = shown;
    line.SetText(status);
  }
}
