// The first bytes of a music file: the header check decides on any bytes, and only
// on the bytes it claims to need.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/midi_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const bool whole = IsStandardMidiHeader({data, size});
  const size_t head = size < MidiHeaderBytes ? size : MidiHeaderBytes;
  if (IsStandardMidiHeader({data, head}) != whole) std::abort();
  if (whole && (size < 4 || data[0] != 'M' || data[1] != 'T' || data[2] != 'h' || data[3] != 'd'))
    std::abort();
  return 0;
}
