// Wave files as the sound effects arrive: any bytes parse or are refused with a
// reason; what parses is PCM whose data is whole sample frames.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "audio/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WaveData wave;
  std::string error;
  if (!ParseWave({data, size}, wave, error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  const WaveFormat& f = wave.format;
  if (f.formatTag != 1 || f.blockAlign == 0 || wave.samples.size() % f.blockAlign != 0 ||
      wave.samples.size() > size)
    std::abort();
  return 0;
}
