#pragma once
// Baseline and progressive JPEG pictures through libjpeg. Error text on failure.
#include <optional>
#include <string>

#include "base/image.h"

std::optional<Image> LoadJpeg(const std::string& path, std::string& error);
