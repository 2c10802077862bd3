// A music file: the structure check decides on any bytes, and what it accepts is a
// standard MIDI file.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "audio/midi_file_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  const bool whole = CheckMidiFile({data, size}, error);
  if (whole && (size < 4 || data[0] != 'M' || data[1] != 'T' || data[2] != 'h' || data[3] != 'd'))
    std::abort();
  if (!whole && error.empty()) std::abort();
  return 0;
}
