// The message box: a classic dialog drawn over the screen.
#include <algorithm>
#include <cmath>

#include "ui/modal_layers.h"
#include "ui/paint.h"
#include "ui/text.h"

namespace {

const FontSpec kTextFont{FontFace::Plain, 13, false, false};
const FontSpec kTitleFont{FontFace::Plain, 13, true, false};
const FontSpec kIconFont{FontFace::Plain, 24, true, false};
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonW = 75, kButtonH = 23, kButtonGap = 6;
constexpr int kBorder = 3;

const char* ButtonText(BoxResult r) {
  switch (r) {
    case BoxResult::Yes: return "Yes";
    case BoxResult::No: return "No";
    default: return "OK";
  }
}

void Disc(Image& t, int cx, int cy, int r, Color fill, Color edge) {
  for (int y = -r; y <= r; ++y)
    for (int x = -r; x <= r; ++x) {
      int d = x * x + y * y;
      if (d <= r * r) t.SetPixel(cx + x, cy + y, d >= (r - 1) * (r - 1) ? edge : fill);
    }
}

void ErrorIcon(Image& t, int x, int y) {
  int c = kIconSize / 2;
  Disc(t, x + c + 1, y + c + 1, 15, paint::Shadow, paint::Shadow);  // drop shadow
  Disc(t, x + c, y + c, 15, Color{255, 0, 0}, Color{128, 0, 0});
  for (int i = -6; i <= 6; ++i)
    for (int w = -1; w <= 1; ++w) {
      t.SetPixel(x + c + i + w, y + c + i, White);
      t.SetPixel(x + c + i + w, y + c - i, White);
    }
}

void QuestionIcon(TextRenderer& text, Image& t, int x, int y) {
  int c = kIconSize / 2;
  Disc(t, x + c + 1, y + c + 1, 15, paint::Shadow, paint::Shadow);
  Disc(t, x + c, y + c, 15, White, Color{0, 0, 160});
  int w = text.Width(kIconFont, "?");
  text.DrawLine(t, kIconFont, "?", Color{0, 0, 255}, x + c - w / 2, y + c - text.Height(kIconFont) / 2);
}

void PaintButton(TextRenderer& text, Image& s, const BoxLayout::Button& b, BoxResult answer, bool isDefault,
                 bool down) {
  s.FillRect(b.x, b.y, b.w, b.h, paint::Face);
  int fx = b.x, fy = b.y, fw = b.w, fh = b.h;
  if (isDefault) {
    paint::Frame(s, b.x, b.y, b.w, b.h, Black, Black);
    fx += 1, fy += 1, fw -= 2, fh -= 2;
  }
  if (down)
    paint::Frame(s, fx, fy, fw, fh, paint::Shadow, paint::Shadow);
  else
    paint::Raised(s, fx, fy, fw, fh);
  const char* label = ButtonText(answer);
  int w = text.Width(kTextFont, label), h = text.Height(kTextFont);
  int x = b.x + (b.w - w) / 2 + (down ? 1 : 0), y = b.y + (b.h - h) / 2 + (down ? 1 : 0);
  text.DrawLine(s, kTextFont, label, Black, x, y);
  if (answer != BoxResult::Ok) {
    // The mnemonic letter, underlined as Windows shows it.
    int first = text.Width(kTextFont, std::string(1, label[0]));
    s.FillRect(x, y + h - 2, first, 1, Black);
  }
  if (isDefault) paint::FocusRect(s, b.x + 4, b.y + 4, b.w - 8, b.h - 8, Black);
}

}  // namespace

BoxLayout LayoutMessageBox(TextRenderer& text, const MessageBoxState& box, int screenWidth, int screenHeight,
                           const std::string& title) {
  BoxLayout l;
  bool icon = box.kind != BoxKind::Message;
  int maxText = std::clamp(screenWidth - 120, 160, 420);
  l.lines = text.Wrap(kTextFont, box.text, maxText);
  int textW = 0;
  for (const std::string& line : l.lines) textW = std::max(textW, text.Width(kTextFont, line));
  int textH = static_cast<int>(l.lines.size()) * text.LineHeight(kTextFont);
  int contentW = (icon ? kIconSize + kMargin : 0) + textW;
  int contentH = std::max(icon ? kIconSize : 0, textH);
  int n = static_cast<int>(box.buttons.size());
  int buttonsW = n * kButtonW + (n - 1) * kButtonGap;
  int clientW = std::max({contentW, buttonsW, text.Width(kTitleFont, title) + 24, 120}) + 2 * kMargin;
  int clientH = kMargin + contentH + 14 + kButtonH + 10;
  l.w = clientW + 2 * kBorder;
  l.h = clientH + l.titleHeight + 2 * kBorder + 1;
  l.x = std::max((screenWidth - l.w) / 2, 0);
  l.y = std::max((screenHeight - l.h) / 2, 0);
  int clientX = l.x + kBorder, clientY = l.y + kBorder + l.titleHeight + 1;
  int contentX = clientX + (clientW - contentW) / 2;
  if (icon) contentX = clientX + kMargin;
  l.iconX = contentX;
  l.iconY = clientY + kMargin + (contentH - kIconSize) / 2;
  l.textX = contentX + (icon ? kIconSize + kMargin : 0);
  l.textY = clientY + kMargin + (contentH - textH) / 2;
  int bx = clientX + (clientW - buttonsW) / 2, by = clientY + kMargin + contentH + 14;
  for (int i = 0; i < n; ++i) l.buttons.push_back({bx + i * (kButtonW + kButtonGap), by, kButtonW, kButtonH});
  return l;
}

int BoxButtonAt(const BoxLayout& l, int x, int y) {
  for (size_t i = 0; i < l.buttons.size(); ++i) {
    const auto& b = l.buttons[i];
    if (x >= b.x && y >= b.y && x < b.x + b.w && y < b.y + b.h) return static_cast<int>(i);
  }
  return -1;
}

void PaintMessageBox(TextRenderer& text, Image& s, const MessageBoxState& box, const BoxLayout& l, const std::string& title) {
  s.FillRect(l.x, l.y, l.w, l.h, paint::Face);
  paint::Raised(s, l.x, l.y, l.w, l.h);
  // Title bar: the classic blue gradient.
  int tx = l.x + kBorder, ty = l.y + kBorder, tw = l.w - 2 * kBorder;
  for (int i = 0; i < tw; ++i)
    s.FillRect(tx + i, ty, 1, l.titleHeight, paint::Mix(paint::Highlight, paint::HighlightEnd, i, std::max(tw - 1, 1)));
  paint::Clipped(s, tx, ty, tw, l.titleHeight, [&](Image& bar, int ox, int oy) {
    text.DrawLine(bar, kTitleFont, title, White, ox + 4, oy + (l.titleHeight - text.Height(kTitleFont)) / 2);
  });
  if (box.kind == BoxKind::Error) ErrorIcon(s, l.iconX, l.iconY);
  if (box.kind == BoxKind::Confirmation) QuestionIcon(text, s, l.iconX, l.iconY);
  int lineHeight = text.LineHeight(kTextFont);
  for (size_t i = 0; i < l.lines.size(); ++i)
    text.DrawLine(s, kTextFont, l.lines[i], Black, l.textX, l.textY + static_cast<int>(i) * lineHeight);
  for (size_t i = 0; i < l.buttons.size(); ++i) {
    const int index = static_cast<int>(i);
    PaintButton(text, s, l.buttons[i], box.buttons[i], index == box.focused, index == box.pressed && box.pressedInside);
  }
}
