#include "base/png_file.h"

#include <zlib.h>

#include "base/file_saving.h"

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
  PutU32(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  // The checksum covers the type and the data.
  const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
  PutU32(out, static_cast<uint32_t>(crc));
}

}  // namespace

std::vector<uint8_t> EncodePng(const std::vector<uint32_t>& argb, int width, int height) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::vector<uint8_t> header;
  PutU32(header, static_cast<uint32_t>(width));
  PutU32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter choice, no interlace
  PutChunk(out, "IHDR", header);

  // Each row: filter type 0 (none), then R, G, B, A per pixel.
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(height) * (1 + 4 * static_cast<size_t>(width)));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < width; ++x) {
      const uint32_t p = argb[static_cast<size_t>(y) * width + x];
      raw.insert(raw.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p),
                             static_cast<uint8_t>(p >> 24)});
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK)
    return {};
  packed.resize(packedSize);
  PutChunk(out, "IDAT", packed);
  PutChunk(out, "IEND", {});
  return out;
}

std::vector<uint8_t> EncodePng(const Image& image) {
  std::vector<uint32_t> argb(image.Pixels());
  for (uint32_t& p : argb) p |= 0xff000000u;
  return EncodePng(argb, image.Width(), image.Height());
}

namespace {

bool SaveEncoded(const std::vector<uint8_t>& bytes, const std::string& path, std::string& error) {
  if (bytes.empty()) {
    error = "Cannot compress the picture for \"" + path + "\"";
    return false;
  }
  return ReplaceFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error);
}

}  // namespace

bool SavePng(const std::vector<uint32_t>& argb, int width, int height, const std::string& path,
             std::string& error) {
  return SaveEncoded(EncodePng(argb, width, height), path, error);
}

bool SavePng(const Image& image, const std::string& path, std::string& error) {
  return SaveEncoded(EncodePng(image), path, error);
}
