#pragma once
// The connection between the two machines: one ENet host and one peer over UDP, one
// reliable ordered channel (and one unreliable for early copies of what it carries). ENet does the resending, the ordering and the keeping
// alive; this holds one other machine at a time and hands over whole messages of at
// most MaxNetMessageBytes (ENet itself refuses larger ones). The only place that
// knows ENet.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class NetLink {
 public:
  struct Event {
    enum class Type { Connected, Received, Disconnected };
    Type type = Type::Received;
    std::string data;  // Received
  };

  // Waits for the other machine on UDP `port` of every address of this one (0: a free
  // port, see Port()). Null with a reason when the port cannot be had.
  static std::unique_ptr<NetLink> Listen(uint16_t port, std::string& error);
  // Starts connecting to `host` (a name or an address) on `port`; the Connected event
  // tells when it stands. Null with a reason when the name is not found.
  static std::unique_ptr<NetLink> Connect(const std::string& host, uint16_t port, std::string& error);
  // Tells the other machine at once that this one goes.
  ~NetLink();
  NetLink(const NetLink&) = delete;
  NetLink& operator=(const NetLink&) = delete;

  // Sends what is queued and takes what has arrived, waiting up to `waitMs` for the
  // first event.
  void Service(int waitMs, std::vector<Event>& events);
  // Queues a message for the other machine (nothing without one).
  void Send(std::string_view bytes);
  // Queues a message that may be lost and may come before what was sent reliably before
  // it: a copy that gets there while a lost datagram of the reliable channel is resent.
  void SendEarly(std::string_view bytes);
  // Whether ENet had to resend anything lately (datagrams are being lost).
  bool LosingDatagrams() const;
  // Sends what is queued now.
  void Flush();
  // Ends the connection, telling the other machine; a listening link waits for another.
  void Drop();
  bool Connected() const;
  // Milliseconds since anything came from the other machine (a message, or an
  // acknowledgement of one sent), whether or not ENet could hand a message on yet: one
  // lost and resent holds back the ones after it, not the machine's liveness.
  uint64_t SilentMs() const;

  uint16_t Port() const;
  // The other machine's address and port, "a.b.c.d:port".
  std::string PeerAddress() const;
  // UDP payload bytes and datagrams sent and received (ENet's headers included).
  uint64_t BytesSent() const;
  uint64_t BytesReceived() const;
  uint64_t DatagramsSent() const;

 private:
  struct Impl;
  explicit NetLink(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// This machine's IPv4 addresses other than loopback, for the other player to join.
std::vector<std::string> LocalAddresses();
