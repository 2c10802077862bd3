// JPEG pictures as the title picture arrives: any bytes decode or are refused with a
// reason, within the size bound, without running away in time or memory.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/jpeg_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  const auto image = DecodeJpeg({data, size}, "fuzz.jpg", error);
  if (!image) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (image->Width() > MaxPictureSide || image->Height() > MaxPictureSide) std::abort();
  return 0;
}
