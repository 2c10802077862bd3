// The edit field: a sunken box with one line of text, a caret and whole-text selection.
#include <algorithm>
#include <cstdlib>

#include "ui/controls.h"
#include "base/keys.h"
#include "ui/paint.h"
#include "ui/state_hash.h"
#include "ui/text.h"

namespace {

// Where the text is drawn from: shifted left when the caret would leave the field.
int TextScroll(const EditField& e, int innerWidth) {
  size_t at = std::min(e.caret, e.text.size());
  int caretX = e.Text().Width(e.font, e.text.substr(0, at));
  return caretX >= innerWidth ? caretX - innerWidth + 1 : 0;
}

}  // namespace

void EditField::Paint(Image& target, int x, int y) const {
  paint::Clipped(target, x, y, width, height, [&](Image& piece, int ox, int oy) {
    piece.FillRect(ox, oy, width, height, background);
    paint::Sunken(piece, ox, oy, width, height);
    int innerWidth = width - 2 * kMargin;
    paint::Clipped(piece, ox + 2, oy + 2, width - 4, height - 4, [&](Image& inner, int ix, int iy) {
      int fontHeight = Text().Height(font), textWidth = Text().Width(font, text);
      int tx = ix - 2 + kMargin - TextScroll(*this, innerWidth);
      int ty = iy - 2 + (height - fontHeight) / 2;
      bool showSelection = Focused() && selected && !text.empty();
      if (showSelection) {
        inner.FillRect(tx, ty, textWidth, fontHeight, color);
        Text().DrawLine(inner, font, text, background, tx, ty);
      } else {
        Text().DrawLine(inner, font, text, color, tx, ty);
      }
      if (Focused() && !readOnly && !showSelection) {
        int cx = tx + Text().Width(font, text.substr(0, std::min(caret, text.size())));
        inner.FillRect(cx, ty, 1, fontHeight, color);
      }
    });
  });
}

uint64_t EditField::StateHash() const {
  return StateHasher()
      .Add(Control::StateHash())
      .Add(text)
      .Add(font)
      .Add(color)
      .Add(background)
      .Add(readOnly)
      .Add(selected)
      .Add(static_cast<uint64_t>(std::min(caret, text.size())))
      .Value();
}

bool EditField::TypeChar(char c) {
  if (readOnly) return false;
  auto uc = static_cast<unsigned char>(c);
  bool printable = uc >= 32 && uc != 127;
  if (!printable && c != 8) return false;
  if (selected) {
    // The selection goes; a character takes its place.
    selected = false;
    std::string before;
    before.swap(text);
    if (c != 8) text.assign(1, c);
    caret = text.size();
    return text != before;
  }
  // No copy of the text per character: a long one would make typing quadratic.
  size_t at = std::min(caret, text.size());
  bool changed = false;
  if (c == 8) {
    if (at > 0) {
      text.erase(at - 1, 1);
      --at;
      changed = true;
    }
  } else if (maxLength == 0 || text.size() < maxLength) {
    text.insert(at, 1, c);
    ++at;
    changed = true;
  }
  caret = at;
  return changed;
}

bool EditField::EditKey(int vk) {
  size_t at = std::min(caret, text.size());
  switch (vk) {
    case VK::Left:
      caret = selected ? 0 : (at > 0 ? at - 1 : 0);
      selected = false;
      return false;
    case VK::Right:
      caret = selected ? text.size() : std::min(at + 1, text.size());
      selected = false;
      return false;
    case VK::Home:
      caret = 0;
      selected = false;
      return false;
    case VK::End:
      caret = text.size();
      selected = false;
      return false;
    case VK::Delete: {
      if (readOnly) return false;
      std::string before = text;
      if (selected) {
        text.clear();
        selected = false;
        caret = 0;
      } else if (at < text.size()) {
        text.erase(at, 1);
      }
      return text != before;
    }
    default:
      return false;
  }
}

size_t EditField::CaretIndexAt(int x) const {
  int innerWidth = width - 2 * kMargin;
  int target = x - kMargin + TextScroll(*this, innerWidth);
  size_t best = 0;
  int bestDistance = std::abs(target);
  for (size_t i = 1; i <= text.size(); ++i) {
    int d = std::abs(Text().Width(font, text.substr(0, i)) - target);
    if (d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}
