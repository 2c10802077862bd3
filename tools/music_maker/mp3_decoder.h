#pragma once
// Decodes MP3 data to 16-bit PCM through lame's decoder, to measure what a player hears.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct DecodedMp3 {
  int channels = 0;
  int sampleRate = 0;
  std::vector<int16_t> samples;  // interleaved when stereo
};

bool DecodeMp3(std::span<const uint8_t> mp3, DecodedMp3& out, std::string& error);
