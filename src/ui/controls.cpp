// Labels, pictures and panels; the base of every control.
#include "ui/controls.h"

#include "ui/app.h"
#include "ui/form.h"
#include "ui/paint.h"
#include "ui/state_hash.h"
#include "ui/text.h"

bool Control::Showing() const {
  for (const Control* c = this; c; c = c->parent)
    if (!c->visible) return false;
  return true;
}

TextRenderer& Control::Text() const { return form->app.Text(); }

int Control::ScreenLeft() const { return left + (parent ? parent->ScreenLeft() : 0); }
int Control::ScreenTop() const { return top + (parent ? parent->ScreenTop() : 0); }

uint64_t Control::StateHash() const {
  return StateHasher()
      .Add(static_cast<uint64_t>(left))
      .Add(static_cast<uint64_t>(top))
      .Add(static_cast<uint64_t>(width))
      .Add(static_cast<uint64_t>(height))
      .Add(visible)
      .Add(enabled)
      .Add(focused_)
      .Value();
}

Rect Control::PaintArea() const { return {ScreenLeft(), ScreenTop(), width, height}; }

// ---- Label

void Label::SetText(const std::string& t) {
  text = t;
  FitToText();
}

void Label::FittedSize(int& w, int& h) const {
  if (!wordWrap && text.find('\n') == std::string::npos) {
    // One line, measured without breaking it up. An empty caption still keeps one
    // line's height, as a Windows label does.
    w = Text().Width(font, text);
    h = Text().Height(font);
    return;
  }
  if (wordWrap) {
    w = width;
    h = static_cast<int>(Text().Wrap(font, text, width).size()) * Text().LineHeight(font);
    return;
  }
  std::vector<std::string> lines = Text().Wrap(font, text, 0);
  w = 0;
  for (const std::string& line : lines) w = std::max(w, Text().Width(font, line));
  h = static_cast<int>(lines.size()) * Text().LineHeight(font);
}

Rect Label::PaintArea() const {
  int w = width, h = height;
  if (autoSize) FittedSize(w, h);
  return {ScreenLeft(), ScreenTop(), w, h};
}

void Label::FitToText() {
  if (autoSize) FittedSize(width, height);
}

void Label::Paint(Image& target, int x, int y) const {
  int w = width, h = height;
  if (autoSize) FittedSize(w, h);
  paint::Clipped(target, x, y, w, h, [&](Image& piece, int ox, int oy) {
    if (!transparent) piece.FillRect(ox, oy, w, h, background);
    std::vector<std::string> lines = Text().Wrap(font, text, wordWrap ? w : 0);
    int lineHeight = Text().LineHeight(font);
    int ty = oy;
    for (const std::string& line : lines) {
      int lw = Text().Width(font, line);
      int tx = ox;
      if (align == Align::Center) tx += (w - lw) / 2;
      if (align == Align::Right) tx += w - lw;
      Text().DrawLine(piece, font, line, color, tx, ty);
      ty += lineHeight;
    }
  });
}

uint64_t Label::StateHash() const {
  return StateHasher()
      .Add(Control::StateHash())
      .Add(text)
      .Add(font)
      .Add(color)
      .Add(transparent)
      .Add(background)
      .Add(static_cast<uint64_t>(align))
      .Add(autoSize)
      .Add(wordWrap)
      .Value();
}

// ---- Picture

void Picture::Paint(Image& target, int x, int y) const {
  if (image.Empty()) return;
  paint::Clipped(target, x, y, width, height, [&](Image& piece, int ox, int oy) {
    if (stretch)
      piece.BlitStretched(image, ox, oy, width, height);
    else
      piece.Blit(image, ox, oy);
  });
}

uint64_t Picture::StateHash() const {
  return StateHasher().Add(Control::StateHash()).Add(image.Revision()).Add(stretch).Value();
}

// ---- Panel

void Panel::Paint(Image& target, int x, int y) const {
  paint::Clipped(target, x, y, width, height, [&](Image& piece, int ox, int oy) {
    if (!transparent) piece.FillRect(ox, oy, width, height, background);
    for (const Control* child : children)
      if (child->visible) child->Paint(piece, ox + child->left, oy + child->top);
  });
}

uint64_t Panel::StateHash() const {
  return StateHasher().Add(Control::StateHash()).Add(background).Add(transparent).Value();
}
