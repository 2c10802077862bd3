#include "net/net_peer.h"

#include <algorithm>

#include "base/files.h"
#include "world/level_file.h"

namespace {

constexpr std::size_t RoundTripsKept = 20;
// A level file is never near this large; a bigger one is hashed by its start.
constexpr std::size_t MaxLevelBytes = 64 * 1024;

// A text from the other machine as this one shows it: printable ASCII only.
std::string Shown(const std::string& text) {
  std::string out;
  for (char c : text) out += (c >= 0x20 && c < 0x7f) ? c : '?';
  return out;
}

std::string TwoDigits(int level) {
  std::string s = std::to_string(level);
  return s.size() < 2 ? "0" + s : s;
}

}  // namespace

std::vector<Sha256Digest> LevelDigests(const std::string& startDirectory) {
  std::vector<Sha256Digest> digests;
  const int count = std::min<int>(CountLevels(startDirectory, {}), static_cast<int>(MaxNetLevels));
  for (int n = 0; n < count; ++n) {
    std::string bytes, error;
    // One that cannot be read is told by the digest of nothing, as a replay tells it.
    if (!ReadWholeFile(LevelFileName(startDirectory, n), bytes, error, MaxLevelBytes)) bytes.clear();
    digests.push_back(Sha256Of(bytes));
  }
  return digests;
}

NetPeer::NetPeer(Role role, std::unique_ptr<NetLink> link, NetIdentity me)
    : role_(role),
      state_(role == Role::Host ? State::Waiting : State::Connecting),
      link_(std::move(link)),
      me_(std::move(me)) {}

std::unique_ptr<NetPeer> NetPeer::Host(uint16_t port, NetIdentity me, std::string& error) {
  auto link = NetLink::Listen(port, error);
  if (!link) return nullptr;
  return std::unique_ptr<NetPeer>(new NetPeer(Role::Host, std::move(link), std::move(me)));
}

std::unique_ptr<NetPeer> NetPeer::Join(const std::string& host, uint16_t port, NetIdentity me, std::string& error) {
  auto link = NetLink::Connect(host, port, error);
  if (!link) return nullptr;
  return std::unique_ptr<NetPeer>(new NetPeer(Role::Joiner, std::move(link), std::move(me)));
}

uint64_t NetPeer::NowMs() const {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - born_).count());
}

void NetPeer::Send(const NetMessage& m) {
  if (m.kind == NetKind::Echo) {
    // Early copies cost a third more bytes: they go only while datagrams are lost.
    if (link_->LosingDatagrams()) link_->SendEarly(EncodeNetMessage(m));
    return;
  }
  link_->Send(EncodeNetMessage(m));
  lastSentMs_ = NowMs();
}

void NetPeer::Service(int waitMs) {
  const bool talking = state_ == State::Meeting || state_ == State::Connected;
  if (talking && NowMs() - lastSentMs_ >= static_cast<uint64_t>(PingEveryMs)) {
    NetMessage ping;
    ping.kind = NetKind::Ping;
    ping.stamp = static_cast<uint32_t>(NowMs());
    Send(ping);
  }
  if (role_ == Role::Joiner && state_ == State::Connected && ready_ != readySent_) {
    NetMessage m;
    m.kind = NetKind::Ready;
    m.flag = readySent_ = ready_;
    Send(m);
  }
  std::vector<NetLink::Event> events;
  link_->Service(waitMs, events);
  for (const NetLink::Event& e : events) {
    if (state_ == State::Closed) break;
    switch (e.type) {
      case NetLink::Event::Type::Connected:
        state_ = State::Meeting;
        if (role_ == Role::Joiner) {
          NetMessage hello;
          hello.kind = NetKind::Hello;
          hello.program = me_.program;
          hello.levels = me_.levels;
          Send(hello);
        }
        break;
      case NetLink::Event::Type::Disconnected:
        if (state_ == State::Connecting)
          Lost("The host does not answer.");
        else if (state_ == State::Meeting && role_ == Role::Joiner)
          Lost("The host turned the connection away (has it a player already?).");
        else
          Lost("The other player has gone.");
        break;
      case NetLink::Event::Type::Received: {
        NetMessage m;
        std::string why;
        if (!DecodeNetMessage(e.data, m, why)) {
          if (game_ && !gameFault_) gameFault_ = "a message from it cannot be read: " + why;
          Drop("The other player's program sent something this one cannot read (" + why + ").");
          return;
        }
        Handle(m);
        break;
      }
    }
  }
  // Answers (a pong above all) go at once, not at the next look.
  if (!events.empty()) link_->Flush();
}

void NetPeer::Handle(const NetMessage& m) {
  switch (m.kind) {
    case NetKind::Ping: {
      NetMessage pong;
      pong.kind = NetKind::Pong;
      pong.stamp = m.stamp;
      Send(pong);
      return;
    }
    case NetKind::Pong: {
      const uint32_t now = static_cast<uint32_t>(NowMs());
      if (m.stamp > now) return;
      roundTrips_.push_back(static_cast<int>(std::min<uint32_t>(now - m.stamp, 60000)));
      if (roundTrips_.size() > RoundTripsKept) roundTrips_.pop_front();
      return;
    }
    case NetKind::Hello:
      if (role_ == Role::Host && state_ == State::Meeting) Meet(m);
      return;
    case NetKind::Welcome:
      if (role_ == Role::Joiner && state_ == State::Meeting) state_ = State::Connected;
      return;
    case NetKind::Refuse:
      if (role_ == Role::Joiner) Refused(m);
      return;
    case NetKind::Ready:
      if (role_ == Role::Host) otherReady_ = m.flag;
      return;
    case NetKind::Start:
      if (role_ == Role::Joiner && state_ == State::Connected) proposal_ = GameProposal{m.settings, m.delay};
      return;
    case NetKind::Go:
      if (role_ != Role::Host || state_ != State::Connected) return;
      answer_ = GameAnswer{m.flag, m.device, m.padOpened};
      // The joiner says again when it is back at its title menu.
      if (m.flag) otherReady_ = false;
      return;
    case NetKind::Pass:
    case NetKind::Echo:
    case NetKind::Leave:
    case NetKind::Desync:
      // What comes after a game ended here is of no use.
      if (game_ && !gameFault_) {
        std::string why;
        if (!game_->Receive(m, why)) gameFault_ = why;
      }
      return;
  }
}

void NetPeer::Meet(const NetMessage& hello) {
  NetMessage answer;
  answer.program = me_.program;
  if (hello.protocol != NetProtocolVersion || hello.program != me_.program) {
    answer.kind = NetKind::Refuse;
    answer.refuse = RefuseReason::Version;
    Send(answer);
    Drop("A player with another version of the game (" + Shown(hello.program) +
         ") tried to join: both players need the same version.");
    return;
  }
  const std::size_t common = std::min(hello.levels.size(), me_.levels.size());
  std::size_t first = 0;
  while (first < common && hello.levels[first] == me_.levels[first]) ++first;
  if (first < common || hello.levels.size() != me_.levels.size()) {
    answer.kind = NetKind::Refuse;
    answer.refuse = RefuseReason::Levels;
    answer.level = static_cast<int32_t>(first);
    Send(answer);
    Drop("A player whose level " + TwoDigits(static_cast<int>(first)) +
         " differs from yours tried to join: both players need the same levels.");
    return;
  }
  answer.kind = NetKind::Welcome;
  Send(answer);
  link_->Flush();
  state_ = State::Connected;
  otherReady_ = false;
}

void NetPeer::Refused(const NetMessage& m) {
  if (m.refuse == RefuseReason::Version)
    Lost("The host plays " + Shown(m.program) + " and this is " + me_.program +
         ": both players need the same version.");
  else
    Lost("The host's level " + TwoDigits(m.level) + " differs from yours: both players need the same levels.");
}

void NetPeer::Lost(const std::string& notice) {
  notices_.push_back(notice);
  if (role_ == Role::Host) {
    state_ = State::Waiting;
    otherReady_ = false;
  } else {
    state_ = State::Closed;
  }
  roundTrips_.clear();
  answer_.reset();
  proposal_.reset();
  if (game_ && !gameFault_) gameFault_ = "the connection was lost";
}

void NetPeer::Drop(const std::string& notice) {
  link_->Flush();
  link_->Drop();
  Lost(notice);
}

uint64_t NetPeer::SilentMs() const {
  if (state_ != State::Meeting && state_ != State::Connected) return 0;
  return link_->SilentMs();
}

int NetPeer::RoundTripMs() const {
  if (roundTrips_.empty()) return -1;
  // Each sample is late by up to the time until each end looks after its connection;
  // the shortest is the network's own.
  return *std::min_element(roundTrips_.begin(), roundTrips_.end());
}

std::optional<std::string> NetPeer::TakeNotice() {
  if (notices_.empty()) return std::nullopt;
  std::string n = std::move(notices_.front());
  notices_.pop_front();
  return n;
}

void NetPeer::SetReady(bool ready) { ready_ = ready; }

void NetPeer::ProposeGame(const ReplaySettings& settings, uint32_t delay) {
  answer_.reset();
  NetMessage m;
  m.kind = NetKind::Start;
  m.settings = settings;
  m.delay = delay;
  Send(m);
  link_->Flush();
}

std::optional<NetPeer::GameAnswer> NetPeer::TakeAnswer() {
  auto a = answer_;
  answer_.reset();
  return a;
}

std::optional<NetPeer::GameProposal> NetPeer::TakeProposal() {
  auto p = proposal_;
  proposal_.reset();
  return p;
}

void NetPeer::AnswerProposal(const GameAnswer& answer) {
  NetMessage m;
  m.kind = NetKind::Go;
  m.flag = answer.accepted;
  m.device = answer.device;
  m.padOpened = answer.padOpened;
  // A game that follows goes by the joiner's readiness again once it is over.
  if (answer.accepted) readySent_ = ready_ = false;
  Send(m);
  link_->Flush();
}

Lockstep& NetPeer::BeginGame(const LockstepSetup& setup) {
  gameFault_.reset();
  game_ = std::make_unique<Lockstep>(setup, [this](const NetMessage& m) { Send(m); });
  return *game_;
}

void NetPeer::EndGame() {
  game_.reset();
  gameFault_.reset();
  link_->Flush();
}
