// Bitmap files as tiles and pictures arrive: any bytes decode or are refused with a
// reason, and whatever decodes survives our own 24-bit writer unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/bmp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  const auto image = DecodeBmp({data, size}, "fuzz.bmp", error);
  if (!image) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (image->Width() > MaxPictureSide || image->Height() > MaxPictureSide) std::abort();
  const auto again = DecodeBmp(EncodeBmp24(*image), "again.bmp", error);
  if (!again || again->Pixels() != image->Pixels()) std::abort();
  return 0;
}
