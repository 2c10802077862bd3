#pragma once
// Writes 16-bit PCM mono RIFF/WAVE files.
#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> EncodeWave(const std::vector<int16_t>& samples, int sampleRate);
bool SaveWave(const std::vector<int16_t>& samples, int sampleRate, const std::string& path,
              std::string& error);
