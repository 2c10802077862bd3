#pragma once
// Text services shared by the controls and the message box: cached renderings,
// line heights and word wrapping. Texts are bytes in the Windows code page (Latin-1)
// unless they are valid UTF-8.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/image.h"

struct RenderedText {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;
};

// A rendering from a bounded cache; never null (empty when the text or font is missing).
std::shared_ptr<const RenderedText> RenderTextCached(const FontSpec& font, const std::string& text,
                                                     Color color);
// Blends one line of text onto `target` with its top-left corner at (x, y).
void DrawTextLine(Image& target, const FontSpec& font, const std::string& text, Color color, int x,
                  int y);
int TextWidth(const FontSpec& font, const std::string& text);
// Height of one line of text.
int FontHeight(const FontSpec& font);
// Distance from one line's top to the next.
int LineHeight(const FontSpec& font);
// Breaks at '\n' and, when width > 0, between words so that each line fits; a word
// longer than the width is broken between characters.
std::vector<std::string> WrapText(const FontSpec& font, const std::string& text, int width);
// The file a font description resolves to (for tests and diagnostics); empty if none.
std::string FontFileFor(const FontSpec& font);
