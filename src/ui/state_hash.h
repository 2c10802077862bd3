#pragma once
// Folding a control's visible state into one number (FNV-1a style).
#include <cstdint>
#include <string>

#include "ui/controls.h"
#include "base/image.h"

class StateHasher {
 public:
  StateHasher& Add(uint64_t v) {
    for (int i = 0; i < 8; ++i) {
      h_ ^= (v >> (i * 8)) & 0xff;
      h_ *= 1099511628211ULL;
    }
    return *this;
  }
  StateHasher& Add(const std::string& s) {
    Add(s.size());
    for (unsigned char c : s) {
      h_ ^= c;
      h_ *= 1099511628211ULL;
    }
    return *this;
  }
  StateHasher& Add(Color c) { return Add((uint64_t{c.r} << 16) | (uint64_t{c.g} << 8) | c.b); }
  StateHasher& Add(const FontSpec& f) {
    return Add(static_cast<uint64_t>(f.face)).Add(static_cast<uint64_t>(f.pixelHeight)).Add(f.bold).Add(f.underline);
  }
  uint64_t Value() const { return h_; }

 private:
  uint64_t h_ = 14695981039346656037ULL;
};
