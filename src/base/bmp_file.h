#pragma once
// Windows bitmap files: 1, 4, 8, 16, 24 and 32 bits, bottom-up or top-down, no
// compression (and RLE8/RLE4 refused cleanly). Error text on failure.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/file_saving.h"
#include "base/image.h"

std::optional<Image> LoadBmp(const std::string& path, std::string& error);
// The same from the file's bytes; `name` stands for the file in the error text.
std::optional<Image> DecodeBmp(std::span<const uint8_t> file, const std::string& name,
                               std::string& error);
// A 24-bit bottom-up bitmap file; empty for an empty picture.
std::vector<uint8_t> EncodeBmp24(const Image& image);
// Writes the bitmap file in place of whatever file `path` held.
bool SaveBmp24(const Image& image, const std::string& path, std::string& error);
// Writes it only under a name nothing has yet (see WriteNewFile).
NewFileResult SaveNewBmp24(const Image& image, const std::string& path, std::string& error);
