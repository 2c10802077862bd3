#pragma once
// MP3 encoding of mono 16-bit PCM through libmp3lame.
#include <cstdint>
#include <string>
#include <vector>

bool EncodeMp3(const std::vector<int16_t>& mono, int sampleRate, std::vector<uint8_t>& out,
               std::string& error);
