#pragma once
// Writes 16-bit PCM RIFF/WAVE files, mono unless told otherwise (stereo interleaves L R).
#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> EncodeWave(const std::vector<int16_t>& samples, int sampleRate, int channels = 1);
bool SaveWave(const std::vector<int16_t>& samples, int sampleRate, const std::string& path,
              std::string& error, int channels = 1);
