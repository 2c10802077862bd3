#pragma once
// Fonts through SDL_ttf: two faces by role, opened on first use and kept open while the
// library lives. Texts are bytes in the Windows code page (Latin-1) unless valid UTF-8.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/image.h"

// Plain: the system face of dialogs and small print. Title: the game's rounded face of
// captions and menus (it falls back to the plain face where its files are missing).
enum class FontFace { Plain, Title };

struct FontSpec {
  FontFace face = FontFace::Plain;
  int pixelHeight = 13;
  bool bold = false;
  bool underline = false;
  bool operator==(const FontSpec&) const = default;
};

struct RenderedText {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;  // alpha-blended pixels, 0xAARRGGBB
};

// Candidate files per face and weight, first existing one wins; fontconfig is asked
// when none exists.
struct FontFiles {
  std::vector<std::string> title, titleBold, plain, plainBold;
  static FontFiles System();
};

class FontLibrary {
 public:
  explicit FontLibrary(FontFiles files = FontFiles::System());
  ~FontLibrary();
  FontLibrary(const FontLibrary&) = delete;
  FontLibrary& operator=(const FontLibrary&) = delete;

  // The file a font description resolves to; empty if none.
  std::string FileFor(const FontSpec& font);
  // Width and height of one line of text in pixels.
  void Measure(const FontSpec& font, const std::string& text, int& width, int& height);
  RenderedText Render(const FontSpec& font, const std::string& text, Color color);
  // Height of one line, and the distance from one line's top to the next.
  int Height(const FontSpec& font);
  int LineSkip(const FontSpec& font);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
