#pragma once
// Baseline and progressive JPEG pictures through libjpeg. Error text on failure.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "base/image.h"

std::optional<Image> LoadJpeg(const std::string& path, std::string& error);
// The same from the file's bytes; `name` stands for the file in the error text.
std::optional<Image> DecodeJpeg(std::span<const uint8_t> bytes, const std::string& name,
                                std::string& error);
