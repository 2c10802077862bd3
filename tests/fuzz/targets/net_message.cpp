// What the other machine of a network game sends, as anyone on the network may send it:
// any bytes are read or refused with a reason, never a crash or an allocation beyond a
// message's worth; what is read writes back to a message that reads the same; and a
// game's lockstep takes any message it is handed, or refuses it with a reason.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/lockstep.h"
#include "net/net_message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  NetMessage m;
  std::string why;
  if (!DecodeNetMessage(bytes, m, why)) {
    if (why.empty()) std::abort();
    return 0;
  }
  const std::string again = EncodeNetMessage(m);
  NetMessage back;
  if (!DecodeNetMessage(again, back, why) || EncodeNetMessage(back) != again) std::abort();
  for (int player = 1; player <= 2; ++player) {
    LockstepSetup setup;
    setup.localPlayer = player;
    Lockstep lockstep(setup, [](const NetMessage&) {});
    if (!lockstep.Receive(m, why) && why.empty()) std::abort();
    lockstep.PassBegins();
  }
  return 0;
}
