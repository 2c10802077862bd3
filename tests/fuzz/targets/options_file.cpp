// Options.dat as a player may leave it: any text is read word by word without fault,
// and settings read whole come back unchanged from the file we write.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "screens/options_file.h"

namespace {

bool Same(const GameOptions& a, const GameOptions& b) { return FormatOptions(a) == FormatOptions(b); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  GameOptions options;
  const std::string fault = ParseOptions(in, options);
  for (const PlayerControls& player : options.players)
    for (const KeyBinding& key : player.keys)
      if (key.name.size() > MaxOptionsWord) std::abort();
  if (!fault.empty()) return 0;
  std::istringstream written(FormatOptions(options));
  GameOptions again;
  if (!ParseOptions(written, again).empty() || !Same(options, again)) std::abort();
  return 0;
}
