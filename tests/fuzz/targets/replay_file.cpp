// A replay file as anyone may hand it to `trok --play` or `--verify`: any bytes are read
// or refused with a reason, never a crash or an allocation beyond the file's worth, and
// what is read writes back to the same replay.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "replay/replay_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Replay replay;
  std::string error;
  if (DecodeReplay(bytes, replay, error) != ReplayReadResult::Ok) {
    if (error.empty()) std::abort();
    return 0;
  }
  Replay again;
  if (DecodeReplay(EncodeReplay(replay), again, error) != ReplayReadResult::Ok || !(again == replay)) std::abort();
  return 0;
}
