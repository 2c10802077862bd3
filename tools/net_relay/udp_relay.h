#pragma once
// A UDP relay on loopback that makes a network of it: each datagram is held back by a
// random delay in a range (so later ones may overtake it) and some are lost. The
// joiner talks to the relay's port as to the host; the relay passes its datagrams on to
// the host's port and the host's answers back to whoever last sent. For trying network
// games on one machine and for the tests; single-threaded, pumped by its owner.
#include <cstdint>
#include <queue>
#include <random>
#include <string>
#include <vector>

struct RelayConditions {
  int minDelayMs = 0;
  int maxDelayMs = 0;
  double loss = 0;  // 0..1, the share of datagrams lost
};

class UdpRelay {
 public:
  UdpRelay() = default;
  ~UdpRelay();
  UdpRelay(const UdpRelay&) = delete;
  UdpRelay& operator=(const UdpRelay&) = delete;

  // Listens on 127.0.0.1:`listenPort` (0: a free port) for the joiner and passes on
  // to 127.0.0.1:`hostPort`; false with a reason.
  bool Open(uint16_t listenPort, uint16_t hostPort, uint32_t seed, std::string& error);
  uint16_t Port() const { return port_; }
  void SetConditions(const RelayConditions& c) { conditions_ = c; }
  // A silent relay passes nothing on (a machine that went quiet, a cable pulled).
  void SetSilent(bool silent) { silent_ = silent; }

  // Takes what arrived, passes on what is due and waits up to `waitMs` for more.
  void Pump(int waitMs);

  // What each side sent through it (UDP payload), and how many datagrams.
  struct Counts {
    uint64_t bytes = 0;
    uint64_t datagrams = 0;
    uint64_t lost = 0;
  };
  const Counts& FromJoiner() const { return fromJoiner_; }
  const Counts& FromHost() const { return fromHost_; }

 private:
  struct Held {
    uint64_t dueUs = 0;
    uint64_t order = 0;
    bool toHost = true;
    std::string bytes;
    bool operator>(const Held& o) const { return dueUs != o.dueUs ? dueUs > o.dueUs : order > o.order; }
  };
  void Receive(int fd, bool toHost);
  void PassOn(const Held& h);

  int front_ = -1;  // the joiner's side
  int back_ = -1;   // the host's side
  uint16_t port_ = 0;
  uint16_t hostPort_ = 0;
  bool haveJoiner_ = false;
  std::vector<uint8_t> joiner_;  // its sockaddr
  RelayConditions conditions_;
  bool silent_ = false;
  std::mt19937 rng_;
  std::priority_queue<Held, std::vector<Held>, std::greater<Held>> held_;
  uint64_t order_ = 0;
  Counts fromJoiner_, fromHost_;
};
