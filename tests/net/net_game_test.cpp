// Network games between two programs, each a process of its own in a game directory of
// its own, headless on virtual time, talking over loopback through a relay that holds
// datagrams back (so that they overtake each other) and loses some: the host's player
// and the joiner's press keys at random, and the two stay in step. The games end as a
// player ends them (the abort question, a stop signal), as a machine dies (killed), or
// because the two went apart; the other ends within seconds with its sentence, and the
// replays both kept verify to the same end.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <thread>

#include "base/keys.h"
#include "base/stop_signal.h"
#include "net_relay/udp_relay.h"
#include "platform/null_audio_door.h"
#include "shell/headless_program.h"
#include "shell/net_play.h"
#include "shell/replay_check.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

namespace {

uint64_t SteadyMs() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now().time_since_epoch()).count());
}

// What one side does.
struct Side {
  bool host = true;
  uint16_t port = 0;        // the joiner: the relay's
  uint32_t delay = 0;       // a fixed input delay; 0: from the round trip
  uint32_t level = 0;
  uint64_t playMs = 0;      // host: game time after which its player aborts (0: never)
  uint64_t corruptAtMs = 0;  // game time at which this side alone changes its game (0: never)
  uint32_t seed = 1;        // its player's hands
};

// The sides write what came of their games into a file; one game a line:
// "stopped STEADY_MS" when it stopped, "replay PATH", "ending TEXT", "delay N"; then
// "sent BYTES", "received BYTES" and "ended STEADY_MS" when the side ends.
void WriteOutcome(const fs::path& file, const std::string& text) {
  std::ofstream(file.string() + ".new") << text;
  fs::rename(file.string() + ".new", file);
}

// The newest replay of the game directory.
std::string NewestReplay() {
  std::string newest;
  fs::file_time_type when{};
  std::error_code ec;
  for (const auto& e : fs::directory_iterator("Replays", ec))
    if (newest.empty() || e.last_write_time() > when) {
      newest = fs::absolute(e.path()).string();
      when = e.last_write_time();
    }
  return newest;
}

// One side, in the child process; never returns.
[[noreturn]] void RunSide(const Side& side, const fs::path& dir, int portPipe) {
  int status = 3;
  try {
    fs::current_path(dir);
    CatchStopSignals();
    HeadlessProgram program(std::make_unique<NullAudioDoor>());
    std::string error;
    if (!program.Start(error)) ::_exit(4);
    program.PushChar('a', program.Now() + 5);
    while (!program.InTitleMenu()) program.RunFor(10);
    program.SetLevelLabel(std::to_string(side.level));
    NetRequest request;
    request.host = side.host;
    request.address = "127.0.0.1";
    request.port = side.port;
    if (!program.OpenNetwork(request, error)) ::_exit(5);
    NetPlay& net = *program.Net();
    if (side.delay) net.UseInputDelay(side.delay);
    if (side.host) {
      const uint16_t port = net.Peer().Port();
      if (::write(portPipe, &port, sizeof port) != sizeof port) ::_exit(6);
    }

    std::mt19937 hands(side.seed);
    const std::array<int, 5> keys{VK::Left, VK::Right, VK::Up, VK::Down, VK::Control};
    std::array<bool, 5> held{};
    bool started = false, aborted = false, corrupted = false, wasInGame = false, stopSeen = false;
    uint64_t gameStart = 0, playedMs = 0;
    std::string outcome;
    Timer& bot = program.CreateTimer();
    bot.onTimer = [&] {
      const uint64_t now = program.Now();
      if (net.InNetGame() && !wasInGame) {
        wasInGame = true;
        gameStart = now;
        std::ofstream(dir / "in_game") << SteadyMs();
      }
      if (!net.InNetGame() && wasInGame) {
        // A game is over and kept.
        wasInGame = false;
        playedMs += now - gameStart;
        outcome += "replay " + NewestReplay() + "\nending " + net.LastEnding() + "\ndelay " +
                   std::to_string(net.InputDelay()) + "\nrtt " + std::to_string(net.Peer().RoundTripMs()) + "\n";
        // The host starts games until its player has played long enough; both play them
        // until one of the players leaves or the game ends otherwise than as games end.
        const bool more = !aborted && net.LastEnding().empty() && (!side.host || playedMs < side.playMs);
        if (more) {
          started = false;
        } else {
          outcome += "sent " + std::to_string(net.Peer().BytesSent()) + "\nreceived " +
                     std::to_string(net.Peer().BytesReceived()) + "\n";
          program.Quit();
          return;
        }
      }
      const bool playing = net.InNetGame() && !program.GameStopped();
      if (net.InNetGame() && program.GameStopped() && !stopSeen) {
        stopSeen = true;
        outcome += "stopped " + std::to_string(SteadyMs()) + "\n";
      }
      if (playing) stopSeen = false;
      if (!playing) {
        // Boxes and the name dialog after a game are answered; the host starts the next.
        if (!program.OpenBoxes().empty() || program.Visible() == &program.NameDialog() ||
            program.Visible() == &program.Scores())
          program.PushKey(program.Visible() == &program.Scores() ? VK::Escape : VK::Enter, now + 1);
        if (side.host && !started && program.InTitleMenu() && program.OpenBoxes().empty() &&
            net.Peer().GetState() == NetPeer::State::Connected && net.Peer().OtherReady() &&
            net.Peer().RoundTripsMeasured() >= 5) {
          started = true;
          program.PushKey(VK::F2, now + 1);
        }
        return;
      }
      if (!program.OpenBoxes().empty()) {
        if (aborted) program.PushKey('Y', now + 1);
        return;
      }
      if (side.corruptAtMs && !corrupted && playedMs + now - gameStart >= side.corruptAtMs) {
        corrupted = true;
        program.GameState().Player1.Points += 1;
      }
      if (side.playMs && !aborted && playedMs + now - gameStart >= side.playMs) {
        aborted = true;
        outcome += "aborted " + std::to_string(SteadyMs()) + "\n";
        program.PushKey(VK::Escape, now + 1);
        return;
      }
      if (hands() % 3 != 0) return;
      const std::size_t k = hands() % keys.size();
      held[k] = !held[k];
      program.Push(held[k] ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp, keys[k], now + 1);
    };
    bot.SetInterval(30);
    while (!program.Terminated()) {
      program.RunFor(1);
      std::this_thread::sleep_for(500us);
    }
    // Ended by a stop signal: what the game left.
    if (wasInGame) outcome += "replay " + NewestReplay() + "\nending " + net.LastEnding() + "\n";
    outcome += "ended " + std::to_string(SteadyMs()) + "\n";
    WriteOutcome(dir / "outcome", outcome);
    status = 0;
  } catch (...) {
  }
  ::_exit(status);
}

struct Outcome {
  std::vector<std::string> replays;
  std::vector<std::string> endings;
  uint32_t delay = 0;
  int roundTrip = -1;
  uint64_t sent = 0, received = 0, endedMs = 0, stoppedMs = 0, abortedMs = 0;
};

Outcome ReadOutcome(const fs::path& file) {
  Outcome o;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    const auto space = line.find(' ');
    const std::string key = line.substr(0, space), value = space == std::string::npos ? "" : line.substr(space + 1);
    if (key == "replay") o.replays.push_back(value);
    if (key == "ending") o.endings.push_back(value);
    if (key == "delay") o.delay = static_cast<uint32_t>(std::stoul(value));
    if (key == "rtt") o.roundTrip = std::stoi(value);
    if (key == "sent") o.sent = std::stoull(value);
    if (key == "received") o.received = std::stoull(value);
    if (key == "ended") o.endedMs = std::stoull(value);
    if (key == "stopped") o.stoppedMs = std::stoull(value);
    if (key == "aborted") o.abortedMs = std::stoull(value);
  }
  return o;
}

class NetGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("trok-net-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    for (const char* side : {"host", "joiner"}) {
      const fs::path dir = root / side;
      fs::create_directories(dir / "FELDS");
      fs::create_directory_symlink(fs::path(TROK_GAME_DIR) / "Objects", dir / "Objects");
      for (int n = 0; n < 3; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "FELD.%02d", n);
        fs::copy_file(fs::path(TROK_GAME_DIR) / "FELDS" / name, dir / "FELDS" / name);
      }
      fs::copy_file(fs::path(TROK_GAME_DIR) / "HighScores.dat", dir / "HighScores.dat");
    }
    previous = fs::current_path();
  }
  void TearDown() override {
    for (pid_t& pid : {std::ref(hostPid), std::ref(joinerPid)})
      if (pid > 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
      }
    fs::current_path(previous);
    fs::remove_all(root);
  }

  // Starts both sides, the joiner through the relay.
  void Start(Side host, Side joiner, const RelayConditions& network) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    host.host = true;
    hostPid = ::fork();
    if (hostPid == 0) RunSide(host, root / "host", fds[1]);
    ::close(fds[1]);
    uint16_t port = 0;
    pollfd wait{fds[0], POLLIN, 0};
    ASSERT_GT(::poll(&wait, 1, 60000), 0) << "the host did not start";
    ASSERT_EQ(::read(fds[0], &port, sizeof port), static_cast<ssize_t>(sizeof port));
    ::close(fds[0]);
    std::string error;
    ASSERT_TRUE(relay.Open(0, port, 7, error)) << error;
    relay.SetConditions(network);
    joiner.host = false;
    joiner.port = relay.Port();
    joinerPid = ::fork();
    if (joinerPid == 0) RunSide(joiner, root / "joiner", -1);
  }

  // Relays until `done` or `limit`; false at the limit.
  bool RelayUntil(const std::function<bool()>& done, std::chrono::seconds limit) {
    const auto end = SteadyClock::now() + limit;
    while (!done()) {
      if (SteadyClock::now() > end) return false;
      relay.Pump(2);
    }
    return true;
  }
  // Whether the side has ended, with its exit status.
  bool Ended(pid_t& pid, int& status) {
    if (pid <= 0) return true;
    int s = 0;
    if (::waitpid(pid, &s, WNOHANG) != pid) return false;
    status = WIFEXITED(s) ? WEXITSTATUS(s) : 128 + WTERMSIG(s);
    pid = 0;
    return true;
  }
  bool BothEnd(std::chrono::seconds limit) {
    return RelayUntil([&] { return Ended(hostPid, hostStatus) && Ended(joinerPid, joinerStatus); }, limit);
  }
  bool InGame(const char* side) { return fs::exists(root / side / "in_game"); }
  void RelayFor(std::chrono::seconds time) { RelayUntil([] { return false; }, time); }

  // The verdict of `trok --verify` on a replay, from the host's game directory.
  std::string Verify(const std::string& path) {
    fs::current_path(root / "host");
    return CheckReplayFile(path).line;
  }

  fs::path root, previous;
  UdpRelay relay;
  pid_t hostPid = 0, joinerPid = 0;
  int hostStatus = -1, joinerStatus = -1;
};

}  // namespace

TEST_F(NetGameTest, AFiveMinuteGameOverABadNetworkStaysInStepAndBothReplaysVerifyToOneEnd) {
  Side host, joiner;
  host.level = joiner.level = 1;
  host.playMs = 5 * 60 * 1000;
  host.seed = 11;
  joiner.seed = 12;
  // Many passes in flight: the players' virtual time runs far faster than the network,
  // and the game is over in about a minute.
  host.delay = MaxInputDelay;
  ASSERT_NO_FATAL_FAILURE(Start(host, joiner, RelayConditions{0, 150, 0.05}));
  ASSERT_TRUE(BothEnd(240s)) << "the game did not end";
  ASSERT_EQ(hostStatus, 0);
  ASSERT_EQ(joinerStatus, 0);
  const Outcome h = ReadOutcome(root / "host" / "outcome"), j = ReadOutcome(root / "joiner" / "outcome");
  ASSERT_FALSE(h.replays.empty());
  ASSERT_EQ(h.replays.size(), j.replays.size());
  EXPECT_EQ(h.endings.back(), "");
  EXPECT_EQ(j.endings.back(), "The other player left the game.");
  for (std::size_t i = 0; i < h.replays.size(); ++i) {
    const std::string hostVerdict = Verify(h.replays[i]), joinerVerdict = Verify(j.replays[i]);
    EXPECT_EQ(hostVerdict.rfind("verified: ", 0), 0u) << hostVerdict;
    EXPECT_EQ(hostVerdict, joinerVerdict);
  }
  // Little goes over the network: each side's datagrams were counted by the relay.
  const double seconds = 5 * 60;
  std::printf("relay: joiner sent %llu bytes in %llu datagrams, host %llu in %llu; %.0f and %.0f bytes per "
              "second of game\n",
              static_cast<unsigned long long>(relay.FromJoiner().bytes),
              static_cast<unsigned long long>(relay.FromJoiner().datagrams),
              static_cast<unsigned long long>(relay.FromHost().bytes),
              static_cast<unsigned long long>(relay.FromHost().datagrams), relay.FromJoiner().bytes / seconds,
              relay.FromHost().bytes / seconds);
}

namespace {
// The network of the player's check: 80 ms there and back, 3 % lost.
const RelayConditions HomeNetwork{40, 40, 0.03};
}  // namespace

TEST_F(NetGameTest, EitherPlayerLeavingByTheAbortQuestionEndsTheGameForBothAtOnePass) {
  // The delay comes from the round trip: three passes at 80 ms.
  for (const bool hostLeaves : {true, false}) {
    SCOPED_TRACE(hostLeaves ? "the host leaves" : "the joiner leaves");
    TearDown();
    SetUp();
    Side host, joiner;
    (hostLeaves ? host : joiner).playMs = 2000;
    ASSERT_NO_FATAL_FAILURE(Start(host, joiner, HomeNetwork));
    ASSERT_TRUE(BothEnd(60s));
    EXPECT_EQ(hostStatus, 0);
    EXPECT_EQ(joinerStatus, 0);
    const Outcome h = ReadOutcome(root / "host" / "outcome"), j = ReadOutcome(root / "joiner" / "outcome");
    ASSERT_EQ(h.replays.size(), 1u);
    ASSERT_EQ(j.replays.size(), 1u);
    EXPECT_EQ((hostLeaves ? j : h).endings[0], "The other player left the game.");
    EXPECT_EQ((hostLeaves ? h : j).endings[0], "");
    EXPECT_EQ(h.delay, 3u) << "round trip " << h.roundTrip << " ms";
    const Outcome& stayed = hostLeaves ? j : h;
    ASSERT_GT(stayed.stoppedMs, 0u);
    EXPECT_LT(stayed.stoppedMs - (hostLeaves ? h : j).abortedMs, 5000u);
    const std::string verdict = Verify(h.replays[0]);
    EXPECT_EQ(verdict.rfind("verified: ", 0), 0u) << verdict;
    EXPECT_EQ(verdict, Verify(j.replays[0]));
  }
}

TEST_F(NetGameTest, AStopSignalOnOneSideEndsTheOthersGameWithinSeconds) {
  Side host, joiner;
  ASSERT_NO_FATAL_FAILURE(Start(host, joiner, HomeNetwork));
  ASSERT_TRUE(RelayUntil([&] { return InGame("host") && InGame("joiner"); }, 60s));
  RelayFor(1s);
  const uint64_t signalled = SteadyMs();
  ::kill(joinerPid, SIGTERM);
  ASSERT_TRUE(BothEnd(30s));
  EXPECT_EQ(joinerStatus, 0);
  EXPECT_EQ(hostStatus, 0);
  const Outcome h = ReadOutcome(root / "host" / "outcome");
  ASSERT_EQ(h.endings.size(), 1u);
  EXPECT_EQ(h.endings[0], "The other player left the game.");
  EXPECT_LT(h.stoppedMs - signalled, 5000u);
}

TEST_F(NetGameTest, AKilledMachineEndsTheOthersGameAfterFiveSilentSeconds) {
  for (const bool killHost : {true, false}) {
    SCOPED_TRACE(killHost ? "the host is killed" : "the joiner is killed");
    TearDown();
    SetUp();
    ASSERT_NO_FATAL_FAILURE(Start(Side{}, Side{}, HomeNetwork));
    ASSERT_TRUE(RelayUntil([&] { return InGame("host") && InGame("joiner"); }, 60s));
    RelayFor(1s);
    const uint64_t killed = SteadyMs();
    ::kill(killHost ? hostPid : joinerPid, SIGKILL);
    ASSERT_TRUE(BothEnd(30s));
    EXPECT_EQ(killHost ? joinerStatus : hostStatus, 0);
    const Outcome o = ReadOutcome(root / (killHost ? "joiner" : "host") / "outcome");
    ASSERT_EQ(o.endings.size(), 1u);
    EXPECT_EQ(o.endings[0], "The other player has not answered for 5 seconds: the game ends.");
    // Silent from the last datagram before the kill.
    EXPECT_GE(o.stoppedMs - killed, 4500u);
    EXPECT_LT(o.stoppedMs - killed, 6000u);
    const std::string verdict = Verify(o.replays[0]);
    EXPECT_EQ(verdict.rfind("verified: ", 0), 0u) << verdict;
  }
}

TEST_F(NetGameTest, GamesThatGoApartEndOnBothNamingThePassAndKeepTheirReplays) {
  Side host, joiner;
  joiner.corruptAtMs = 1500;
  ASSERT_NO_FATAL_FAILURE(Start(host, joiner, HomeNetwork));
  ASSERT_TRUE(BothEnd(60s));
  const Outcome h = ReadOutcome(root / "host" / "outcome"), j = ReadOutcome(root / "joiner" / "outcome");
  ASSERT_EQ(h.endings.size(), 1u);
  ASSERT_EQ(j.endings.size(), 1u);
  EXPECT_EQ(h.endings[0].rfind("The two games went apart at pass ", 0), 0u) << h.endings[0];
  EXPECT_EQ(h.endings[0], j.endings[0]);
  for (const Outcome* o : {&h, &j}) EXPECT_NE(o->replays[0].find("_desync"), std::string::npos) << o->replays[0];
  // The host's game is the one that went on as recorded.
  const std::string verdict = Verify(h.replays[0]);
  EXPECT_EQ(verdict.rfind("verified: ", 0), 0u) << verdict;
}
