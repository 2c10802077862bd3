#pragma once
// Our own RIFF/WAVE reader: it alone decides which wave files the game loads.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct WaveFormat {
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint16_t extraSize = 0;
};

struct WaveData {
  WaveFormat format;
  std::vector<uint8_t> samples;  // the whole "data" chunk
};

// Accepts PCM (tag 1) with 1 or 2 channels of 8 or 16 bits; anything else, truncated or
// inconsistent, is refused with a reason in `error`.
bool ParseWave(std::span<const uint8_t> bytes, WaveData& wave, std::string& error);
bool ReadWaveFile(const std::string& path, WaveData& wave, std::string& error);
