// The drop-down list: a field showing the chosen item, an arrow button, and the
// list that unfolds below it.
#include <algorithm>

#include "ui/controls.h"
#include "ui/paint.h"
#include "ui/state_hash.h"
#include "ui/text.h"

namespace {
constexpr int kButtonWidth = 16;

void DrawArrow(Image& t, int cx, int cy, Color c) {
  for (int row = 0; row < 4; ++row) t.FillRect(cx - 3 + row, cy - 1 + row, 7 - 2 * row, 1, c);
}
}  // namespace

void DropDown::Paint(Image& target, int x, int y) const {
  paint::Clipped(target, x, y, width, height, [&](Image& piece, int ox, int oy) {
    piece.FillRect(ox, oy, width, height, background);
    paint::Sunken(piece, ox, oy, width, height);
    int bw = std::min(kButtonWidth, std::max(width - 4, 0));
    int bx = ox + width - 2 - bw, by = oy + 2, bh = height - 4;
    piece.FillRect(bx, by, bw, bh, paint::Face);
    if (open)
      paint::Pressed(piece, bx, by, bw, bh);
    else
      paint::Raised(piece, bx, by, bw, bh);
    DrawArrow(piece, bx + bw / 2 + (open ? 1 : 0), by + bh / 2 - 1 + (open ? 1 : 0),
              enabled ? Black : paint::Shadow);
    if (selectedIndex < 0 || selectedIndex >= static_cast<int>(items.size())) return;
    const std::string& item = items[static_cast<size_t>(selectedIndex)];
    int fieldW = bx - ox - 3;
    paint::Clipped(piece, ox + 3, oy + 3, fieldW, height - 6, [&](Image& field, int fx, int fy) {
      int textHeight = Text().LineHeight(font);
      int ty = fy + (height - 6 - textHeight) / 2;
      Color textColor = color;
      if (Focused() && !open) {
        field.FillRect(fx, fy, fieldW, height - 6, paint::Highlight);
        textColor = White;
      }
      Text().DrawLine(field, font, item, textColor, fx + 1, ty);
    });
  });
}

uint64_t DropDown::StateHash() const {
  StateHasher h;
  h.Add(Control::StateHash()).Add(static_cast<uint64_t>(selectedIndex)).Add(font).Add(color).Add(background).Add(open);
  for (const std::string& item : items) h.Add(item);
  return h.Value();
}

Rect DropDown::PaintArea() const {
  Rect field = Control::PaintArea();
  return open ? field.Union({field.x, field.Bottom(), width, ListHeight()}) : field;
}

int DropDown::ItemHeight() const { return Text().LineHeight(font) + 2; }

int DropDown::ListHeight() const { return static_cast<int>(items.size()) * ItemHeight() + 2; }

int DropDown::ItemAt(int y) const {
  if (y < 1) return -1;
  int index = (y - 1) / ItemHeight();
  return index < static_cast<int>(items.size()) ? index : -1;
}

void DropDown::PaintList(Image& target, int x, int y) const {
  int h = ListHeight();
  target.FillRect(x, y, width, h, background);
  paint::Frame(target, x, y, width, h, Black, Black);
  int ih = ItemHeight();
  for (size_t i = 0; i < items.size(); ++i) {
    int iy = y + 1 + static_cast<int>(i) * ih;
    bool chosen = static_cast<int>(i) == selectedIndex;
    paint::Clipped(target, x + 1, iy, width - 2, ih, [&](Image& row, int rx, int ry) {
      if (chosen) row.FillRect(rx, ry, width - 2, ih, paint::Highlight);
      Text().DrawLine(row, font, items[i], chosen ? White : color, rx + 2, ry + 1);
    });
  }
}

void DropDown::Choose(int index) {
  open = false;
  if (index < 0 || index >= static_cast<int>(items.size()) || index == selectedIndex) return;
  selectedIndex = index;
  if (onChange) onChange();
}

void DropDown::Unfold() {
  open = !items.empty();
  unfoldedOn_ = selectedIndex;
}

void DropDown::CancelList() {
  if (open && unfoldedOn_ >= 0) Choose(unfoldedOn_);
  open = false;
}
