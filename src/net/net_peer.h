#pragma once
// One machine's side of a network game over its link: the meeting (the joiner shows
// its program and level files, the host takes it or refuses it with the reason), the
// round trip and the other machine's liveness (a ping whenever nothing else was sent
// for a while), the title menu's talk (the joiner says whether it can start; the host
// proposes a game, the joiner answers with its joystick) and, during a game, its
// lockstep, which gets the game's messages.
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "net/lockstep.h"
#include "net/net_link.h"
#include "net/net_message.h"

// What must be the same on both machines.
struct NetIdentity {
  std::string program;               // name and version
  std::vector<Sha256Digest> levels;  // of each level file, from 00
};

// The digests of the level files FELD.00, FELD.01, ... of `startDirectory` (the
// unbroken run from 00, as the game counts them).
std::vector<Sha256Digest> LevelDigests(const std::string& startDirectory);

class NetPeer {
 public:
  enum class Role { Host, Joiner };
  enum class State {
    Waiting,     // host: no other player
    Connecting,  // joiner: the connection does not stand yet
    Meeting,     // connected, not yet taken
    Connected,   // the two can play
    Closed,      // joiner: refused or gone; nothing more comes
  };
  // A ping goes whenever nothing was sent for this long.
  static constexpr int PingEveryMs = 250;

  static std::unique_ptr<NetPeer> Host(uint16_t port, NetIdentity me, std::string& error);
  static std::unique_ptr<NetPeer> Join(const std::string& host, uint16_t port, NetIdentity me, std::string& error);

  Role GetRole() const { return role_; }
  State GetState() const { return state_; }
  uint16_t Port() const { return link_->Port(); }
  std::string PeerAddress() const { return link_->PeerAddress(); }

  // Sends what is due and handles what arrived, waiting up to `waitMs` for the network.
  void Service(int waitMs);
  // Sends what is queued now.
  void Flush() { link_->Flush(); }
  // Milliseconds since anything came from the other machine (0 without one).
  uint64_t SilentMs() const;
  // The shortest of the latest round trips, in ms; -1 before the first is measured.
  int RoundTripMs() const;
  // How many of the latest round trips it is taken from.
  int RoundTripsMeasured() const { return static_cast<int>(roundTrips_.size()); }
  // A sentence for the player about the connection (refused, lost, turned away), once.
  std::optional<std::string> TakeNotice();
  bool HasNotice() const { return !notices_.empty(); }
  // Ends the connection (a host then waits for another player).
  void Drop(const std::string& notice);

  // ---- at the title menu ----
  // Joiner: whether it can start a game now; the host is told when it changes.
  void SetReady(bool ready);
  bool OtherReady() const { return otherReady_; }
  // Host: proposes a game; the joiner's answer comes as TakeAnswer.
  void ProposeGame(const ReplaySettings& settings, uint32_t delay);
  struct GameAnswer {
    bool accepted = false;
    int32_t device = 0;
    bool padOpened = false;
  };
  std::optional<GameAnswer> TakeAnswer();
  // Joiner: a game the host proposed, and the answer to it.
  struct GameProposal {
    ReplaySettings settings;
    uint32_t delay = 1;
  };
  std::optional<GameProposal> TakeProposal();
  void AnswerProposal(const GameAnswer& answer);

  // ---- a game ----
  Lockstep& BeginGame(const LockstepSetup& setup);
  Lockstep* Game() { return game_.get(); }
  // Why the other machine's game messages cannot be used, once they broke the rules.
  const std::optional<std::string>& GameFault() const { return gameFault_; }
  void EndGame();

  uint64_t BytesSent() const { return link_->BytesSent(); }
  uint64_t BytesReceived() const { return link_->BytesReceived(); }
  uint64_t DatagramsSent() const { return link_->DatagramsSent(); }

 private:
  NetPeer(Role role, std::unique_ptr<NetLink> link, NetIdentity me);
  void Send(const NetMessage& m);
  void Handle(const NetMessage& m);
  void Meet(const NetMessage& hello);
  void Refused(const NetMessage& m);
  void Lost(const std::string& notice);
  uint64_t NowMs() const;

  Role role_;
  State state_;
  std::unique_ptr<NetLink> link_;
  NetIdentity me_;
  std::chrono::steady_clock::time_point born_ = std::chrono::steady_clock::now();
  uint64_t lastSentMs_ = 0;
  std::deque<int> roundTrips_;
  std::deque<std::string> notices_;
  bool ready_ = false, readySent_ = false, otherReady_ = false;
  std::optional<GameAnswer> answer_;
  std::optional<GameProposal> proposal_;
  std::unique_ptr<Lockstep> game_;
  std::optional<std::string> gameFault_;
};
