#pragma once
// PNG files with an alpha channel (8 bits per channel, no interlace).
#include <cstdint>
#include <string>
#include <vector>

// The bytes of a PNG file holding width x height pixels 0xAARRGGBB; empty when the
// pixels could not be compressed.
std::vector<uint8_t> EncodePng(const std::vector<uint32_t>& argb, int width, int height);
bool SavePng(const std::vector<uint32_t>& argb, int width, int height, const std::string& path,
             std::string& error);
