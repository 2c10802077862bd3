#pragma once
// Hand-built RIFF files for the wave reader and loader tests.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

struct RiffChunk {
  std::string id;
  std::vector<uint8_t> body;
};

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

inline RiffChunk FmtChunk(int tag, int channels, int rate, int bits, size_t size = 16) {
  RiffChunk c{"fmt ", {}};
  const int align = channels * bits / 8;
  Put16(c.body, static_cast<uint32_t>(tag));
  Put16(c.body, static_cast<uint32_t>(channels));
  Put32(c.body, static_cast<uint32_t>(rate));
  Put32(c.body, static_cast<uint32_t>(rate * align));
  Put16(c.body, static_cast<uint32_t>(align));
  Put16(c.body, static_cast<uint32_t>(bits));
  while (c.body.size() < size) c.body.push_back(0);
  return c;
}

inline RiffChunk DataChunk(size_t bytes, uint8_t first = 1) {
  RiffChunk c{"data", {}};
  for (size_t i = 0; i < bytes; ++i) c.body.push_back(static_cast<uint8_t>(first + i));
  return c;
}

// Chunks are padded to even sizes as RIFF requires.
inline std::vector<uint8_t> Riff(const std::vector<RiffChunk>& chunks, const char* form = "WAVE") {
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0};
  out.insert(out.end(), form, form + 4);
  for (const RiffChunk& c : chunks) {
    out.insert(out.end(), c.id.begin(), c.id.end());
    Put32(out, static_cast<uint32_t>(c.body.size()));
    out.insert(out.end(), c.body.begin(), c.body.end());
    if (c.body.size() % 2) out.push_back(0);
  }
  const uint32_t riffSize = static_cast<uint32_t>(out.size() - 8);
  for (int i = 0; i < 4; ++i) out[4 + static_cast<size_t>(i)] = static_cast<uint8_t>(riffSize >> (8 * i));
  return out;
}

inline std::vector<uint8_t> SimpleWave(size_t dataBytes = 200, int bits = 16, int channels = 1) {
  return Riff({FmtChunk(1, channels, 22050, bits), DataChunk(dataBytes)});
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
