#pragma once
// Baseline JPEG files through libjpeg.
#include <string>

#include "base/image.h"

// quality 1..100; false with the reason on failure (nothing half-written is left).
bool SaveJpeg(const Image& image, const std::string& path, int quality, std::string& error);
