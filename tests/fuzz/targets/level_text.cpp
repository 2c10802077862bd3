// The text form of a level as an author writes it: any text compiles or is refused
// with a located reason, and what compiles prints back to the same level.
#include <cstdint>
#include <cstdlib>
#include <string>

// The parser under test; it is the only name this file needs.
#include "authoring/level_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TextError error;
  const auto bytes = ParseLevelText(text, error);
  if (!bytes) {
    if (error.message.empty()) std::abort();
    return 0;
  }
  TextError again;
  const auto reread = ParseLevelText(FormatLevelText(*bytes), again);
  if (!reread || *reread != *bytes) std::abort();
  return 0;
}
