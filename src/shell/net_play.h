#pragma once
// The program's side of a network game (trok --host, trok --join): the connection kept
// alive from the first screen on, its state in the window's title and under the title
// menu, the host's Start Game and Random Level starting a game on both machines, the
// joiner starting the game the host proposed, and each pass of that game: this
// machine's input sent, the other's waited for ("waiting for the other player" after
// 250 ms), the abort question between passes, and the game ended for both when one
// leaves, goes silent for 5 s, breaks the exchange's rules or differs at a check.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "net/net_peer.h"
#include "shell/game_session.h"

struct Program;
class Timer;

// What the command line asks for.
struct NetRequest {
  bool host = true;
  std::string address;  // joiner: the host's name or address
  uint16_t port = 0;
};

inline constexpr uint16_t DefaultNetPort = 29431;
// A game ends when nothing came from the other machine for this long.
inline constexpr int NetSilenceMs = 5000;
// A pass that waits this long for the other machine says so.
inline constexpr int NetWaitShownMs = 250;

// "PORT" for --host, "HOST[:PORT]" for --join; false with a reason.
bool ParseNetRequest(bool host, const std::string& text, NetRequest& request, std::string& error);
// The input delay in passes for a round trip and a game speed (ms per pass): the
// one-way time in whole passes.
uint32_t InputDelayFor(int roundTripMs, int passMs);

class NetPlay {
 public:
  explicit NetPlay(Program& program);
  ~NetPlay();
  NetPlay(const NetPlay&) = delete;
  NetPlay& operator=(const NetPlay&) = delete;

  // Listens or connects; false with a reason. The host's address goes to `announce`.
  bool Open(const NetRequest& request, std::string& error);
  // The lines the host prints for the other player.
  std::string Announcement() const;
  bool IsHost() const;

  // The title menu's Start Game or Random Level, once the level is chosen.
  void StartFromTitleMenu();

  // For tests and the benchmark: the state of the connection, a fixed input delay.
  NetPeer& Peer() { return *peer_; }
  void UseInputDelay(uint32_t passes) { fixedDelay_ = passes; }
  // The input delay of the game running or the last one.
  uint32_t InputDelay() const { return delay_; }
  bool InNetGame() const { return inGame_; }
  // Why the last game ended, as the player was told (empty: it ended as games end).
  const std::string& LastEnding() const { return lastEnding_; }

 private:
  void Service();
  void ShowNotices();
  bool ReadyToStart() const;
  void TakeProposal();
  // The lockstep of the game about to start, before the other machine can send to it.
  void PrepareLockstep(uint32_t delay);
  void RunGame(const ReplaySettings& settings);
  bool BeforePass(const std::function<bool()>& over);
  std::optional<std::string> Fault() const;
  void AskAbort();
  void EndGame(const std::string& why, bool otherCaused);
  void AfterGame();
  std::optional<NetPad> LocalPad();
  void ShowWaiting(bool waiting);
  void UpdateTitle();
  std::string Status() const;

  Program& program_;
  std::unique_ptr<NetPeer> peer_;
  NetRequest request_;
  Timer* serviceTimer_ = nullptr;
  Timer* startTimer_ = nullptr;
  Timer* noticeTimer_ = nullptr;
  std::optional<ReplaySettings> proposed_;
  std::optional<uint32_t> fixedDelay_;
  uint32_t delay_ = 0;
  int localPadDevice_ = 0;
  bool localPadOpened_ = false;
  bool inGame_ = false;
  bool waitingShown_ = false;
  GameSession::NetGame net_;
  std::string ending_;      // why the running game ends, for its player
  bool resultsToo_ = false;  // it ended by the other machine: the results still count
  std::string lastEnding_;
  std::string baseTitle_;
  std::vector<std::string> addresses_;  // this machine's, for the other player to join
  std::string shownTitle_;
};
