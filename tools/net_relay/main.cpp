// A lossy, slow network on loopback for trying network games on one machine:
//   net_relay LISTEN_PORT HOST_PORT [MIN_MS MAX_MS [LOSS_PERCENT]]
// The host runs `trok --host HOST_PORT`, the joiner `trok --join 127.0.0.1:LISTEN_PORT`;
// each datagram is held back MIN_MS..MAX_MS (one way) and LOSS_PERCENT of them are lost.
// Every 10 s, and when ended (Ctrl+C), it prints what each side sent.
#include <csignal>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "net_relay/udp_relay.h"

namespace {
volatile std::sig_atomic_t stopped = 0;
void Stop(int) { stopped = 1; }

void Report(const UdpRelay& relay, double seconds) {
  auto line = [seconds](const char* who, const UdpRelay::Counts& c) {
    std::printf("%s: %llu bytes in %llu datagrams (%.0f bytes/s, %.1f datagrams/s), %llu lost\n", who,
                static_cast<unsigned long long>(c.bytes), static_cast<unsigned long long>(c.datagrams),
                seconds > 0 ? c.bytes / seconds : 0.0, seconds > 0 ? c.datagrams / seconds : 0.0,
                static_cast<unsigned long long>(c.lost));
  };
  line("joiner -> host", relay.FromJoiner());
  line("host -> joiner", relay.FromHost());
  std::fflush(stdout);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5 && argc != 6) {
    std::fprintf(stderr, "usage: net_relay LISTEN_PORT HOST_PORT [MIN_MS MAX_MS [LOSS_PERCENT]]\n");
    return 2;
  }
  RelayConditions c;
  if (argc >= 5) {
    c.minDelayMs = std::atoi(argv[3]);
    c.maxDelayMs = std::atoi(argv[4]);
  }
  if (argc == 6) c.loss = std::atof(argv[5]) / 100.0;
  UdpRelay relay;
  std::string error;
  if (!relay.Open(static_cast<uint16_t>(std::atoi(argv[1])), static_cast<uint16_t>(std::atoi(argv[2])), 1, error)) {
    std::fprintf(stderr, "net_relay: %s\n", error.c_str());
    return 1;
  }
  relay.SetConditions(c);
  std::signal(SIGINT, Stop);
  std::signal(SIGTERM, Stop);
  std::printf("relaying 127.0.0.1:%u -> 127.0.0.1:%s, %d..%d ms each way, %.1f %% lost\n", relay.Port(), argv[2],
              c.minDelayMs, c.maxDelayMs, c.loss * 100);
  std::fflush(stdout);
  const auto start = std::chrono::steady_clock::now();
  auto lastReport = start;
  while (!stopped) {
    relay.Pump(5);
    const auto now = std::chrono::steady_clock::now();
    if (now - lastReport >= std::chrono::seconds(10)) {
      lastReport = now;
      Report(relay, std::chrono::duration<double>(now - start).count());
    }
  }
  Report(relay, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  return 0;
}
