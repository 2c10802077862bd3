// What a network game adds to each pass, and what it sends. A pass of both machines:
// each sends its input (a key now and then, a state check every 64 passes), takes the
// other's, begins the pass and hands the input to the game at its first pump call with
// the game's two timers running.
//   BM_LockstepPass         the lockstep and the messages' packing, machines joined in memory
//   BM_LockstepPassOverEnet the same over ENet on loopback: sending, the system calls, the
//                           acknowledgements (passes as fast as they go, so ENet takes some
//                           datagrams for lost and the early copies go too)
//   BM_LockstepOverLossyRelay/LOSS  thirty seconds of game in real time (game speed 16, a pass
//                           each 16 ms) through the relay at 40 ms each way with LOSS % of the
//                           datagrams lost: how long each machine's passes waited for the
//                           other's input, and the bytes each sent per second, with and
//                           without the 28 bytes of IPv4 and UDP headers per datagram
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <deque>
#include <memory>
#include <string>

#include "base/keys.h"
#include "net/lockstep.h"
#include "net/net_peer.h"
#include "net_relay/udp_relay.h"

namespace {

constexpr double PassesPerSecond = 1000.0 / 16;

LockstepSetup Setup(int player) {
  LockstepSetup s;
  s.localPlayer = player;
  s.delay = 3;
  s.localKeys = {VK::Up, VK::Down, VK::Left, VK::Right, VK::Control, VK::Shift};
  return s;
}

// What the game does with a pass once its input is in.
void RunPass(Lockstep& lockstep, uint32_t pass) {
  // A player presses or lets go of a key about every eighth pass.
  if (pass % 8 == 0) {
    InputEvent e;
    e.type = (pass / 8) % 2 ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp;
    e.vk = VK::Left;
    lockstep.Admit(e);
  }
  lockstep.PassBegins();
  std::deque<InputEvent> replayed;
  lockstep.PumpBegins(false, replayed);
  for (const InputEvent& e : replayed) lockstep.Dispatching(e);
  lockstep.TimerFires(1, false);
  lockstep.TimerFires(2, false);
  lockstep.PumpEnds();
  benchmark::DoNotOptimize(replayed);
}

std::optional<uint64_t> Check(uint32_t pass) {
  return pass % ReplayCheckPasses == 0 ? std::optional<uint64_t>(pass * 77) : std::nullopt;
}

void BM_LockstepPass(benchmark::State& state) {
  std::deque<std::string> toJoiner, toHost;
  Lockstep host(Setup(1), [&](const NetMessage& m) { toJoiner.push_back(EncodeNetMessage(m)); });
  Lockstep joiner(Setup(2), [&](const NetMessage& m) { toHost.push_back(EncodeNetMessage(m)); });
  auto deliver = [](std::deque<std::string>& queue, Lockstep& to) {
    for (; !queue.empty(); queue.pop_front()) {
      NetMessage m;
      std::string why;
      if (DecodeNetMessage(queue.front(), m, why)) to.Receive(m, why);
    }
  };
  for (auto _ : state) {
    const uint32_t pass = host.NextPass();
    host.SendInput(Check(pass), std::nullopt);
    joiner.SendInput(Check(pass), std::nullopt);
    deliver(toJoiner, joiner);
    deliver(toHost, host);
    if (!host.ReadyForNextPass() || !joiner.ReadyForNextPass()) state.SkipWithError("a machine waits");
    RunPass(host, pass);
    RunPass(joiner, pass);
  }
  state.counters["us_per_pass_each"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * 2,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(BM_LockstepPass)->Unit(benchmark::kMicrosecond);

NetIdentity Identity() {
  NetIdentity me;
  me.program = "bench";
  me.levels.assign(30, Sha256Of("level"));
  return me;
}

void BM_LockstepPassOverEnet(benchmark::State& state) {
  std::string error;
  auto host = NetPeer::Host(0, Identity(), error);
  auto joiner = host ? NetPeer::Join("127.0.0.1", host->Port(), Identity(), error) : nullptr;
  if (!joiner) {
    state.SkipWithError(error.c_str());
    return;
  }
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (host->GetState() != NetPeer::State::Connected || joiner->GetState() != NetPeer::State::Connected) {
    if (std::chrono::steady_clock::now() > giveUp) {
      state.SkipWithError("no connection");
      return;
    }
    host->Service(1);
    joiner->Service(1);
  }
  Lockstep& h = host->BeginGame(Setup(1));
  Lockstep& j = joiner->BeginGame(Setup(2));
  for (auto _ : state) {
    const uint32_t pass = h.NextPass();
    h.SendInput(Check(pass), std::nullopt);
    host->Flush();
    j.SendInput(Check(pass), std::nullopt);
    joiner->Flush();
    while (!h.ReadyForNextPass() || !j.ReadyForNextPass()) {
      host->Service(0);
      joiner->Service(0);
    }
    RunPass(h, pass);
    RunPass(j, pass);
  }
  if (host->GameFault() || joiner->GameFault()) state.SkipWithError("the exchange broke its rules");
  state.counters["us_per_pass_each"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * 2,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(BM_LockstepPassOverEnet)->Unit(benchmark::kMicrosecond);

void BM_LockstepOverLossyRelay(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  constexpr uint32_t Passes = 30 * 1000 / 16;
  for (auto _ : state) {
    std::string error;
    auto host = NetPeer::Host(0, Identity(), error);
    UdpRelay relay;
    if (!host || !relay.Open(0, host->Port(), 11, error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    relay.SetConditions({40, 40, static_cast<double>(state.range(0)) / 100});
    auto joiner = NetPeer::Join("127.0.0.1", relay.Port(), Identity(), error);
    if (!joiner) {
      state.SkipWithError(error.c_str());
      return;
    }
    std::array<NetPeer*, 2> peers{host.get(), joiner.get()};
    const auto giveUp = Clock::now() + std::chrono::seconds(5);
    while (host->GetState() != NetPeer::State::Connected || joiner->GetState() != NetPeer::State::Connected) {
      if (Clock::now() > giveUp) {
        state.SkipWithError("no connection");
        return;
      }
      for (NetPeer* p : peers) p->Service(0);
      relay.Pump(1);
    }
    std::array<Lockstep*, 2> locksteps{&host->BeginGame(Setup(1)), &joiner->BeginGame(Setup(2))};
    std::array<Clock::time_point, 2> due{Clock::now(), Clock::now()};
    std::array<bool, 2> sent{};
    std::array<uint32_t, 2> passes{}, waitedPasses{};
    std::array<double, 2> waitedMs{};
    const UdpRelay::Counts before[2] = {relay.FromHost(), relay.FromJoiner()};
    while (passes[0] < Passes || passes[1] < Passes) {
      const auto now = Clock::now();
      for (int side = 0; side < 2; ++side) {
        Lockstep& l = *locksteps[side];
        if (passes[side] >= Passes || now < due[side]) continue;
        if (!sent[side]) {
          l.SendInput(Check(l.NextPass()), std::nullopt);
          peers[side]->Service(0);
          sent[side] = true;
        }
        if (!l.ReadyForNextPass()) continue;
        // A pass that could not begin on time waited; the next one comes a pass later.
        const double late = std::chrono::duration<double, std::milli>(now - due[side]).count();
        if (late > 1) {
          waitedMs[side] += late;
          ++waitedPasses[side];
          due[side] = now;
        }
        RunPass(l, l.NextPass());
        ++passes[side];
        sent[side] = false;
        due[side] += std::chrono::milliseconds(16);
      }
      for (NetPeer* p : peers) p->Service(0);
      relay.Pump(1);
    }
    if (host->GameFault() || joiner->GameFault()) state.SkipWithError("the exchange broke its rules");
    const double seconds = Passes / PassesPerSecond;
    for (int side = 0; side < 2; ++side) {
      const std::string who = side == 0 ? "host" : "joiner";
      const UdpRelay::Counts& now = side == 0 ? relay.FromHost() : relay.FromJoiner();
      const double bytes = static_cast<double>(now.bytes - before[side].bytes);
      const double datagrams = static_cast<double>(now.datagrams - before[side].datagrams);
      state.counters[who + "_waited_ms_per_s"] = waitedMs[side] / seconds;
      state.counters[who + "_passes_waited"] = waitedPasses[side];
      state.counters[who + "_bytes_per_s"] = bytes / seconds;
      state.counters[who + "_bytes_per_s_with_ip"] = (bytes + 28 * datagrams) / seconds;
    }
  }
}
BENCHMARK(BM_LockstepOverLossyRelay)->Unit(benchmark::kMillisecond)->Iterations(1)->Arg(0)->Arg(3);

}  // namespace
