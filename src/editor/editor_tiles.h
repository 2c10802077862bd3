#pragma once
// The game's tile pictures as the editor shows them, at any cell size: death fields and
// slides in their editor pictures, editor-only codes framed in red, bytes without an
// object as a crossed grey cell. A missing or unreadable picture is drawn as a plain
// coloured cell, so the editor works without them.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "base/image.h"

class EditorTiles {
 public:
  // Reads every picture of `objectsDir` (ending in '/' or empty); false with the first
  // reason when some could not be read (the others are still used).
  bool Load(const std::string& objectsDir, std::string& error);
  // The picture of a level byte, `size` pixels square.
  const Image& Cell(uint8_t byte, int size);
  // A tile picture by code, as the game has it (empty when missing).
  const Image& Source(int code) const { return source_[static_cast<size_t>(code)]; }

 private:
  Image Make(uint8_t byte, int size) const;

  std::array<Image, 99> source_;
  std::map<std::pair<int, int>, Image> cache_;
};

// A smooth reduction or enlargement: each pixel the average of what it covers.
Image ScaleImage(const Image& source, int width, int height);
