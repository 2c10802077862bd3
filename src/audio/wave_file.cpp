#include "audio/wave_file.h"

#include <algorithm>
#include <cstring>

#include "base/files.h"

namespace {

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
bool IdIs(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

bool ReadFormat(const uint8_t* p, size_t size, WaveFormat& f, std::string& error) {
  if (size < 16) {
    error = "the \"fmt \" chunk is too short";
    return false;
  }
  f.formatTag = Read16(p);
  f.channels = Read16(p + 2);
  f.samplesPerSec = Read32(p + 4);
  f.avgBytesPerSec = Read32(p + 8);
  f.blockAlign = Read16(p + 12);
  f.bitsPerSample = Read16(p + 14);
  // The extra size means nothing for PCM; it is read only because the layout has it.
  f.extraSize = size >= 18 ? Read16(p + 16) : 0;
  if (f.formatTag != 1) {
    error = "not PCM (format tag " + std::to_string(f.formatTag) + ")";
    return false;
  }
  if (f.channels != 1 && f.channels != 2) {
    error = "unsupported channel count " + std::to_string(f.channels);
    return false;
  }
  if (f.bitsPerSample != 8 && f.bitsPerSample != 16) {
    error = "unsupported sample size " + std::to_string(f.bitsPerSample) + " bits";
    return false;
  }
  if (f.blockAlign != f.channels * f.bitsPerSample / 8) {
    error = "block align does not match the sample format";
    return false;
  }
  if (f.samplesPerSec < 1000 || f.samplesPerSec > 192000) {
    error = "implausible sample rate " + std::to_string(f.samplesPerSec);
    return false;
  }
  // The buffer's average rate is recomputed rather than trusted.
  f.avgBytesPerSec = static_cast<uint32_t>(f.blockAlign) * f.samplesPerSec;
  f.extraSize = 0;
  return true;
}

}  // namespace

bool ParseWave(std::span<const uint8_t> bytes, WaveData& wave, std::string& error) {
  if (bytes.size() < 12 || !IdIs(bytes.data(), "RIFF") || !IdIs(bytes.data() + 8, "WAVE")) {
    error = "not a RIFF/WAVE file";
    return false;
  }
  // A RIFF size beyond the file is tolerated: the chunks themselves are checked below.
  const size_t riffEnd = std::min<size_t>(bytes.size(), size_t{8} + Read32(bytes.data() + 4));
  bool haveFormat = false;
  WaveFormat format;
  size_t dataAt = 0, dataSize = 0;
  bool haveData = false;
  size_t pos = 12;
  // The two chunks may come in either order; the scan stops once both are known.
  while (pos + 8 <= riffEnd && !(haveFormat && haveData)) {
    const uint8_t* header = bytes.data() + pos;
    const size_t size = Read32(header + 4);
    const size_t body = pos + 8;
    if (size > riffEnd - body) {
      error = std::string("the \"") + std::string(reinterpret_cast<const char*>(header), 4) +
              "\" chunk is cut short";
      return false;
    }
    if (IdIs(header, "fmt ") && !haveFormat) {
      if (!ReadFormat(bytes.data() + body, size, format, error)) return false;
      haveFormat = true;
    } else if (IdIs(header, "data") && !haveData) {
      dataAt = body;
      dataSize = size;
      haveData = true;
    }
    // Chunks are padded to an even size.
    pos = body + size + (size & 1);
  }
  if (!haveFormat) {
    error = "no \"fmt \" chunk";
    return false;
  }
  if (!haveData) {
    error = "no \"data\" chunk";
    return false;
  }
  wave.format = format;
  // A trailing partial sample frame would only click; it is dropped.
  const size_t whole = dataSize - dataSize % format.blockAlign;
  wave.samples.assign(bytes.begin() + static_cast<std::ptrdiff_t>(dataAt),
                      bytes.begin() + static_cast<std::ptrdiff_t>(dataAt + whole));
  return true;
}

bool ReadWaveFile(const std::string& path, WaveData& wave, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, error)) return false;
  return ParseWave(bytes, wave, error);
}
