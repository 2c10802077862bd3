#pragma once
// Windows bitmap files: 1, 4, 8, 16, 24 and 32 bits, bottom-up or top-down, no
// compression (and RLE8/RLE4 refused cleanly). Error text on failure.
#include <optional>
#include <string>

#include "base/image.h"

std::optional<Image> LoadBmp(const std::string& path, std::string& error);
// Writes a 24-bit bottom-up bitmap file.
bool SaveBmp24(const Image& image, const std::string& path, std::string& error);
