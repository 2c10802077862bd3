#include "net_relay/udp_relay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

uint64_t NowUs() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(port);
  return a;
}

int BoundSocket(uint16_t port, std::string& error) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = std::string("no socket: ") + std::strerror(errno);
    return -1;
  }
  const sockaddr_in a = Loopback(port);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
    error = "cannot listen on UDP port " + std::to_string(port) + ": " + std::strerror(errno);
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

UdpRelay::~UdpRelay() {
  if (front_ >= 0) ::close(front_);
  if (back_ >= 0) ::close(back_);
}

bool UdpRelay::Open(uint16_t listenPort, uint16_t hostPort, uint32_t seed, std::string& error) {
  front_ = BoundSocket(listenPort, error);
  if (front_ < 0) return false;
  back_ = BoundSocket(0, error);
  if (back_ < 0) return false;
  sockaddr_in a{};
  socklen_t size = sizeof a;
  ::getsockname(front_, reinterpret_cast<sockaddr*>(&a), &size);
  port_ = ntohs(a.sin_port);
  hostPort_ = hostPort;
  rng_.seed(seed);
  return true;
}

void UdpRelay::Receive(int fd, bool toHost) {
  char buffer[65536];
  for (;;) {
    sockaddr_storage from{};
    socklen_t size = sizeof from;
    const ssize_t n = ::recvfrom(fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &size);
    if (n < 0) return;
    Counts& counts = toHost ? fromJoiner_ : fromHost_;
    counts.bytes += static_cast<uint64_t>(n);
    ++counts.datagrams;
    if (toHost) {
      const auto* bytes = reinterpret_cast<const uint8_t*>(&from);
      joiner_.assign(bytes, bytes + size);
      haveJoiner_ = true;
    }
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    if (silent_ || chance(rng_) < conditions_.loss) {
      ++counts.lost;
      continue;
    }
    const int lo = std::max(0, conditions_.minDelayMs), hi = std::max(lo, conditions_.maxDelayMs);
    std::uniform_int_distribution<int> delay(lo * 1000, hi * 1000);
    held_.push({NowUs() + static_cast<uint64_t>(delay(rng_)), order_++, toHost, std::string(buffer, static_cast<std::size_t>(n))});
  }
}

void UdpRelay::PassOn(const Held& h) {
  if (h.toHost) {
    const sockaddr_in to = Loopback(hostPort_);
    ::sendto(back_, h.bytes.data(), h.bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  } else if (haveJoiner_) {
    ::sendto(front_, h.bytes.data(), h.bytes.size(), 0, reinterpret_cast<const sockaddr*>(joiner_.data()),
             static_cast<socklen_t>(joiner_.size()));
  }
}

void UdpRelay::Pump(int waitMs) {
  int timeout = std::max(waitMs, 0);
  if (!held_.empty()) {
    const uint64_t now = NowUs();
    const uint64_t due = held_.top().dueUs;
    timeout = std::min<int>(timeout, due > now ? static_cast<int>((due - now + 999) / 1000) : 0);
  }
  pollfd fds[2] = {{front_, POLLIN, 0}, {back_, POLLIN, 0}};
  if (::poll(fds, 2, timeout) > 0) {
    if (fds[0].revents & POLLIN) Receive(front_, true);
    if (fds[1].revents & POLLIN) Receive(back_, false);
  }
  const uint64_t now = NowUs();
  while (!held_.empty() && held_.top().dueUs <= now) {
    PassOn(held_.top());
    held_.pop();
  }
}
