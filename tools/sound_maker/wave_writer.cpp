#include "sound_maker/wave_writer.h"

#include <fstream>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutId(std::vector<uint8_t>& out, const char* id) { out.insert(out.end(), id, id + 4); }

}  // namespace

std::vector<uint8_t> EncodeWave(const std::vector<int16_t>& samples, int sampleRate, int channels) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(46 + dataBytes);
  PutId(out, "RIFF");
  Put32(out, 4 + 8 + 18 + 8 + dataBytes);
  PutId(out, "WAVE");
  // The full 18-byte format layout, extra size 0, which every loader understands.
  PutId(out, "fmt ");
  Put32(out, 18);
  Put16(out, 1);  // PCM
  const uint32_t frameBytes = 2 * static_cast<uint32_t>(channels);
  Put16(out, static_cast<uint32_t>(channels));
  Put32(out, static_cast<uint32_t>(sampleRate));
  Put32(out, static_cast<uint32_t>(sampleRate) * frameBytes);
  Put16(out, frameBytes);
  Put16(out, 16);
  Put16(out, 0);
  PutId(out, "data");
  Put32(out, dataBytes);
  for (int16_t s : samples) Put16(out, static_cast<uint16_t>(s));
  return out;
}

bool SaveWave(const std::vector<int16_t>& samples, int sampleRate, const std::string& path,
              std::string& error, int channels) {
  const std::vector<uint8_t> bytes = EncodeWave(samples, sampleRate, channels);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}
