#pragma once
// Text for the controls and the message boxes: cached renderings and widths over the
// font library, line heights and word wrapping. One per app.
#include <list>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "base/image.h"
#include "platform/fonts.h"

class TextRenderer {
 public:
  explicit TextRenderer(FontLibrary& fonts) : fonts_(fonts) {}

  FontLibrary& Fonts() { return fonts_; }
  // A rendering from a bounded cache; never null (empty when the text or font is missing).
  std::shared_ptr<const RenderedText> Rendered(const FontSpec& font, const std::string& text, Color color);
  // Blends one line of text onto `target` with its top-left corner at (x, y).
  void DrawLine(Image& target, const FontSpec& font, const std::string& text, Color color, int x, int y);
  int Width(const FontSpec& font, const std::string& text);
  // Height of one line of text.
  int Height(const FontSpec& font) { return fonts_.Height(font); }
  // Distance from one line's top to the next.
  int LineHeight(const FontSpec& font) { return fonts_.LineSkip(font); }
  // Breaks at '\n' and, when width > 0, between words so that each line fits; a word
  // longer than the width is broken between characters.
  std::vector<std::string> Wrap(const FontSpec& font, const std::string& text, int width);

 private:
  using Key = std::tuple<FontSpec, std::string, uint32_t>;
  struct KeyHash {
    size_t operator()(const Key& k) const;
  };
  using Entry = std::pair<std::shared_ptr<const RenderedText>, std::list<Key>::iterator>;

  static constexpr size_t kMaxPixels = 4u << 20;
  static constexpr size_t kMaxEntries = 2048;
  static constexpr size_t kMaxWidths = 8192;

  FontLibrary& fonts_;
  // Least recently used renderings are dropped once the cache holds too many pixels.
  std::list<Key> order_;
  std::unordered_map<Key, Entry, KeyHash> renderings_;
  size_t pixels_ = 0;
  std::unordered_map<Key, int, KeyHash> widths_;
};
