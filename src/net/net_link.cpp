#include "net/net_link.h"

#include <arpa/inet.h>
#include <enet/enet.h>
#include <enet/time.h>
#include <ifaddrs.h>
#include <netinet/in.h>

#include <cstdlib>
#include <mutex>
#include <optional>

#include "net/net_message.h"

namespace {

// ENet gives up on a peer that acknowledges nothing for this long; the game notices
// a silent peer sooner on its own, with a sentence of its own.
constexpr enet_uint32 TimeoutMinimumMs = 8000;
constexpr enet_uint32 TimeoutMaximumMs = 10000;
// What may wait in ENet for one peer, assembled or not.
constexpr std::size_t MaxWaitingBytes = 64 * 1024;
// A link that goes waits this long for the other end to take what it was sent last
// (over a lossy network, a few resendings).
constexpr enet_uint32 GoodbyeMs = 1500;
// Channel 0 carries every message reliably and in order; channel 1 the early copies,
// unreliably, which no lost datagram can hold up.
constexpr enet_uint8 ReliableChannel = 0, EarlyChannel = 1, Channels = 2;
// Resendings this recent mean datagrams are being lost.
constexpr enet_uint32 LossRememberedMs = 10000;

bool InitialiseEnet(std::string& error) {
  static std::once_flag once;
  static bool ok = false;
  std::call_once(once, [] {
    ok = enet_initialize() == 0;
    if (ok) std::atexit(enet_deinitialize);
  });
  if (!ok) error = "the network library cannot start";
  return ok;
}

std::string AddressText(const ENetAddress& a) {
  char ip[64] = "?";
  enet_address_get_host_ip(&a, ip, sizeof ip);
  return std::string(ip) + ":" + std::to_string(a.port);
}

}  // namespace

struct NetLink::Impl {
  ENetHost* host = nullptr;
  ENetPeer* peer = nullptr;
  bool listening = false;
  bool connected = false;
  enet_uint32 heard = 0;  // when the last event came from the peer
  uint64_t sent = 0, received = 0, datagrams = 0;
  // ENet's count of resendings to the peer (it starts again now and then), and when it
  // last grew.
  enet_uint32 resendings = 0;
  std::optional<enet_uint32> resentAt;

  ~Impl() {
    if (peer) Goodbye();
    if (host) enet_host_destroy(host);
  }
  // A disconnection made at once would overtake what was sent last (the other end drops
  // what it has not yet handed on): it goes once all that is acknowledged, and that is
  // waited for a little.
  void Goodbye() {
    enet_peer_disconnect_later(peer, 0);
    const enet_uint32 until = enet_time_get() + GoodbyeMs;
    ENetEvent e;
    while (ENET_TIME_LESS(enet_time_get(), until) && peer->state != ENET_PEER_STATE_DISCONNECTING &&
           peer->state != ENET_PEER_STATE_DISCONNECTED && enet_host_service(host, &e, 10) >= 0)
      if (e.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(e.packet);
    enet_host_flush(host);
    if (peer->state != ENET_PEER_STATE_DISCONNECTED) enet_peer_reset(peer);
  }
  void TakeCounts() {
    if (peer) {
      if (peer->packetsLost > resendings) resentAt = enet_time_get();
      resendings = peer->packetsLost;
    }
    sent += host->totalSentData;
    received += host->totalReceivedData;
    datagrams += host->totalSentPackets;
    host->totalSentData = host->totalReceivedData = host->totalSentPackets = 0;
  }
  void Limit() {
    host->maximumPacketSize = MaxNetMessageBytes;
    host->maximumWaitingData = MaxWaitingBytes;
  }
};

NetLink::NetLink(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
NetLink::~NetLink() = default;

std::unique_ptr<NetLink> NetLink::Listen(uint16_t port, std::string& error) {
  if (!InitialiseEnet(error)) return nullptr;
  ENetAddress address{};
  address.host = ENET_HOST_ANY;
  address.port = port;
  auto impl = std::make_unique<Impl>();
  // Room for a second caller, to turn it away.
  impl->host = enet_host_create(&address, 2, Channels, 0, 0);
  if (!impl->host) {
    error = "UDP port " + std::to_string(port) + " cannot be used (is another program using it?)";
    return nullptr;
  }
  impl->Limit();
  impl->listening = true;
  return std::unique_ptr<NetLink>(new NetLink(std::move(impl)));
}

std::unique_ptr<NetLink> NetLink::Connect(const std::string& hostName, uint16_t port, std::string& error) {
  if (!InitialiseEnet(error)) return nullptr;
  ENetAddress address{};
  if (enet_address_set_host(&address, hostName.c_str()) != 0) {
    error = "the host \"" + hostName + "\" is not known";
    return nullptr;
  }
  address.port = port;
  auto impl = std::make_unique<Impl>();
  impl->host = enet_host_create(nullptr, 1, Channels, 0, 0);
  if (!impl->host) {
    error = "no UDP port can be had for the connection";
    return nullptr;
  }
  impl->Limit();
  impl->peer = enet_host_connect(impl->host, &address, Channels, 0);
  if (!impl->peer) {
    error = "the connection cannot be started";
    return nullptr;
  }
  enet_peer_timeout(impl->peer, 0, TimeoutMinimumMs, TimeoutMaximumMs);
  return std::unique_ptr<NetLink>(new NetLink(std::move(impl)));
}

void NetLink::Service(int waitMs, std::vector<Event>& events) {
  Impl& m = *impl_;
  ENetEvent e;
  int r = enet_host_service(m.host, &e, waitMs > 0 ? static_cast<enet_uint32>(waitMs) : 0);
  while (r > 0) {
    switch (e.type) {
      case ENET_EVENT_TYPE_CONNECT:
        if (m.connected && e.peer != m.peer) {
          // One other machine at a time.
          enet_peer_disconnect_now(e.peer, 0);
          break;
        }
        m.peer = e.peer;
        m.connected = true;
        m.resendings = 0;
        m.resentAt.reset();
        m.heard = enet_time_get();
        enet_peer_timeout(m.peer, 0, TimeoutMinimumMs, TimeoutMaximumMs);
        events.push_back({Event::Type::Connected, {}});
        break;
      case ENET_EVENT_TYPE_RECEIVE:
        if (e.peer == m.peer) m.heard = enet_time_get();
        if (e.peer == m.peer && m.connected && e.channelID < Channels && e.packet->dataLength <= MaxNetMessageBytes)
          events.push_back({Event::Type::Received,
                            std::string(reinterpret_cast<const char*>(e.packet->data), e.packet->dataLength)});
        enet_packet_destroy(e.packet);
        break;
      case ENET_EVENT_TYPE_DISCONNECT:
        if (e.peer == m.peer) {
          const bool was = m.connected;
          m.connected = false;
          m.peer = nullptr;
          // A joiner whose connection never stood learns it here too.
          if (was || !m.listening) events.push_back({Event::Type::Disconnected, {}});
        }
        break;
      case ENET_EVENT_TYPE_NONE:
        break;
    }
    r = enet_host_check_events(m.host, &e);
  }
  m.TakeCounts();
}

void NetLink::Send(std::string_view bytes) {
  Impl& m = *impl_;
  if (!m.connected || !m.peer || bytes.empty() || bytes.size() > MaxNetMessageBytes) return;
  ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
  if (packet && enet_peer_send(m.peer, ReliableChannel, packet) != 0) enet_packet_destroy(packet);
}

void NetLink::SendEarly(std::string_view bytes) {
  Impl& m = *impl_;
  if (!m.connected || !m.peer || bytes.empty() || bytes.size() > MaxNetMessageBytes) return;
  ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), 0);
  if (packet && enet_peer_send(m.peer, EarlyChannel, packet) != 0) enet_packet_destroy(packet);
}

bool NetLink::LosingDatagrams() const {
  const Impl& m = *impl_;
  return m.connected && m.resentAt && ENET_TIME_DIFFERENCE(enet_time_get(), *m.resentAt) < LossRememberedMs;
}

void NetLink::Flush() {
  enet_host_flush(impl_->host);
  impl_->TakeCounts();
}

void NetLink::Drop() {
  Impl& m = *impl_;
  // What was sent last (the reason) still reaches the other end before the end does.
  if (m.peer) enet_peer_disconnect_later(m.peer, 0);
  enet_host_flush(m.host);
  m.peer = nullptr;
  m.connected = false;
}

bool NetLink::Connected() const { return impl_->connected; }

uint64_t NetLink::SilentMs() const {
  const Impl& m = *impl_;
  if (!m.connected || !m.peer) return 0;
  // ENet notes the time of the last acknowledgement; messages are noted here.
  enet_uint32 latest = m.heard;
  if (m.peer->lastReceiveTime != 0 && ENET_TIME_GREATER(m.peer->lastReceiveTime, latest))
    latest = m.peer->lastReceiveTime;
  return ENET_TIME_DIFFERENCE(enet_time_get(), latest);
}

uint16_t NetLink::Port() const {
  ENetAddress a{};
  if (enet_socket_get_address(impl_->host->socket, &a) != 0) return impl_->host->address.port;
  return a.port;
}

std::string NetLink::PeerAddress() const { return impl_->peer ? AddressText(impl_->peer->address) : std::string(); }

uint64_t NetLink::BytesSent() const { return impl_->sent + impl_->host->totalSentData; }
uint64_t NetLink::BytesReceived() const { return impl_->received + impl_->host->totalReceivedData; }
uint64_t NetLink::DatagramsSent() const { return impl_->datagrams + impl_->host->totalSentPackets; }

std::vector<std::string> LocalAddresses() {
  std::vector<std::string> out;
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return out;
  for (const ifaddrs* a = list; a; a = a->ifa_next) {
    if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET) continue;
    const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
    if ((ntohl(in->sin_addr.s_addr) >> 24) == 127) continue;
    char text[INET_ADDRSTRLEN];
    if (::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) out.emplace_back(text);
  }
  ::freeifaddrs(list);
  return out;
}
