#pragma once
// Folding a control's visible state into one number (FNV-1a style).
#include <cstdint>
#include <cstring>
#include <string>

#include "ui/controls.h"
#include "base/image.h"

class StateHasher {
 public:
  // A word at a time: every pass compares each shown control's state, so this runs
  // thousands of times a second. The shift folds high bits down, so that changes in
  // two words' top bits cannot cancel.
  StateHasher& Add(uint64_t v) {
    h_ = (h_ ^ v) * 1099511628211ULL;
    h_ ^= h_ >> 29;
    return *this;
  }
  StateHasher& Add(const std::string& s) {
    Add(s.size());
    size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
      uint64_t word;
      std::memcpy(&word, s.data() + i, 8);
      Add(word);
    }
    if (i < s.size()) {
      uint64_t word = 0;
      std::memcpy(&word, s.data() + i, s.size() - i);
      Add(word);
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
