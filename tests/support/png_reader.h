#pragma once
// A reader for what EncodePng writes (RGBA, 8 bits, filter 0), for tests: checks every
// chunk's checksum and inflates the pixels with zlib.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace png_reader_detail {
inline uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

}  // namespace png_reader_detail

inline bool DecodePng(const std::vector<uint8_t>& file, int& width, int& height, std::vector<uint32_t>& argb) {
  const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (file.size() < 8 || !std::equal(signature, signature + 8, file.begin())) return false;
  std::vector<uint8_t> packed;
  bool ended = false;
  for (size_t at = 8; at + 12 <= file.size() && !ended;) {
    const uint32_t length = png_reader_detail::U32(file, at);
    if (at + 12 + length > file.size()) return false;
    const std::string type(file.begin() + at + 4, file.begin() + at + 8);
    const uLong crc = crc32(0L, file.data() + at + 4, length + 4);
    if (crc != png_reader_detail::U32(file, at + 8 + length)) return false;
    const uint8_t* data = file.data() + at + 8;
    if (type == "IHDR") {
      width = static_cast<int>(png_reader_detail::U32(file, at + 8));
      height = static_cast<int>(png_reader_detail::U32(file, at + 12));
      if (data[8] != 8 || data[9] != 6 || data[12] != 0) return false;
    } else if (type == "IDAT") {
      packed.insert(packed.end(), data, data + length);
    } else if (type == "IEND") {
      ended = true;
    }
    at += 12 + length;
  }
  std::vector<uint8_t> raw(static_cast<size_t>(height) * (1 + 4 * static_cast<size_t>(width)));
  uLongf rawSize = raw.size();
  if (!ended || uncompress(raw.data(), &rawSize, packed.data(), packed.size()) != Z_OK || rawSize != raw.size())
    return false;
  argb.clear();
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = raw.data() + static_cast<size_t>(y) * (1 + 4 * width);
    if (row[0] != 0) return false;
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = row + 1 + 4 * x;
      argb.push_back(uint32_t{p[3]} << 24 | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2]);
    }
  }
  return true;
}

