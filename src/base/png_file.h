#pragma once
// PNG files with an alpha channel (8 bits per channel, no interlace).
#include <cstdint>
#include <string>
#include <vector>

#include "base/image.h"

// The bytes of a PNG file holding width x height pixels 0xAARRGGBB; empty when the
// pixels could not be compressed.
std::vector<uint8_t> EncodePng(const std::vector<uint32_t>& argb, int width, int height);
// The same for an opaque picture.
std::vector<uint8_t> EncodePng(const Image& image);
// Writes the file whole or not at all (base/file_saving.h).
bool SavePng(const std::vector<uint32_t>& argb, int width, int height, const std::string& path,
             std::string& error);
bool SavePng(const Image& image, const std::string& path, std::string& error);
