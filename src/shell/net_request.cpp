// What a network game's command line asks for, and the input delay its round trip calls for.
#include <algorithm>

#include "base/numbers.h"
#include "shell/net_play.h"

namespace {
// Taken for the round trip before the first is measured.
constexpr int UnmeasuredRoundTripMs = 100;
}  // namespace

bool ParseNetRequest(bool host, const std::string& text, NetRequest& request, std::string& error) {
  request = NetRequest{};
  request.host = host;
  request.port = DefaultNetPort;
  std::string portText = host ? text : std::string();
  if (!host) {
    const auto colon = text.rfind(':');
    request.address = colon == std::string::npos ? text : text.substr(0, colon);
    if (colon != std::string::npos) portText = text.substr(colon + 1);
    if (request.address.empty() || request.address.size() > 253) {
      error = "the host to join is missing";
      return false;
    }
  }
  if (!portText.empty()) {
    int port = 0;
    if (!ParseInt(portText, port) || port < 1 || port > 65535) {
      error = "'" + portText + "' is no UDP port (1 to 65535)";
      return false;
    }
    request.port = static_cast<uint16_t>(port);
  }
  return true;
}

uint32_t InputDelayFor(int roundTripMs, int passMs) {
  if (roundTripMs < 0) roundTripMs = UnmeasuredRoundTripMs;
  passMs = std::max(passMs, 1);
  // The round trip measured holds the time until each end looks after its connection:
  // its half is the one-way time with a little to spare.
  const int oneWay = (roundTripMs + 1) / 2;
  return std::clamp<uint32_t>(static_cast<uint32_t>((oneWay + passMs - 1) / passMs), 1, MaxInputDelay);
}
