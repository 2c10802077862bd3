#include "ui/form.h"

#include <algorithm>

#include "ui/app.h"
#include "ui/state_hash.h"

namespace {

void ShownSize(const Control* c, int& w, int& h) {
  w = c->width;
  h = c->height;
  if (auto* label = dynamic_cast<const Label*>(c); label && label->autoSize) label->FittedSize(w, h);
}

bool TakesMouse(const Control* c) {
  auto* label = dynamic_cast<const Label*>(c);
  return !label || label->onClick || label->onMouseDown || label->onMouseUp;
}

// Reverse painting order: the last painted lies on top.
Control* HitIn(const std::vector<Control*>& list, int x, int y) {
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    Control* c = *it;
    if (!c->visible) continue;
    int w, h;
    ShownSize(c, w, h);
    if (x < c->left || y < c->top || x >= c->left + w || y >= c->top + h) continue;
    if (auto* panel = dynamic_cast<Panel*>(c)) {
      if (Control* child = HitIn(panel->children, x - c->left, y - c->top)) return child;
    }
    if (TakesMouse(c)) return c;
  }
  return nullptr;
}

}  // namespace

Form::Form(App& owner, std::string formName, int clientWidth, int clientHeight, Color back)
    : app(owner), name(std::move(formName)), background(back), canvas(clientWidth, clientHeight, back) {
  app.AddForm(this);
}

Form::~Form() { app.RemoveForm(this); }

void Form::SetClientSize(int w, int h) {
  canvas = Image(w, h, background);
  dirtyRects_.clear();
  paintPending_ = true;
  Invalidate();
}

void Form::Adopt(std::unique_ptr<Control> c, Panel* parent) {
  c->parent = parent;
  c->form = this;
  if (parent) parent->children.push_back(c.get());
  controls_.push_back(std::move(c));
}

Control* Form::Find(const std::string& controlName) const {
  for (const auto& c : controls_)
    if (c->name == controlName) return c.get();
  return nullptr;
}

void Form::SetFocus(Control* c) {
  if (c == focus) return;
  Control* old = focus;
  focus = c;
  if (old) old->focused_ = false;
  if (c) c->focused_ = true;
  if (auto* edit = dynamic_cast<EditField*>(old); edit && edit->onExit) edit->onExit();
}

void Form::FocusNext(bool backwards) {
  int n = static_cast<int>(tabOrder.size());
  if (n == 0) return;
  auto at = std::find(tabOrder.begin(), tabOrder.end(), focus);
  int start = at == tabOrder.end() ? (backwards ? 0 : n - 1) : static_cast<int>(at - tabOrder.begin());
  for (int step = 1; step <= n; ++step) {
    int i = ((start + (backwards ? -step : step)) % n + n) % n;
    Control* c = tabOrder[static_cast<size_t>(i)];
    if (c && c->CanFocus() && c->Showing()) {
      if (auto* edit = dynamic_cast<EditField*>(c)) edit->SelectAll();
      SetFocus(c);
      return;
    }
  }
}

Control* Form::ControlAt(int x, int y) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    auto* drop = dynamic_cast<DropDown*>(it->get());
    if (!drop || !drop->open || !drop->Showing()) continue;
    int lx = drop->ScreenLeft(), ly = drop->ScreenTop() + drop->height;
    if (x >= lx && x < lx + drop->width && y >= ly && y < ly + drop->ListHeight()) return drop;
  }
  std::vector<Control*> top;
  for (const auto& c : controls_)
    if (!c->parent) top.push_back(c.get());
  return HitIn(top, x, y);
}

void Form::PaintControls(Image& target, int originX, int originY) const {
  for (const auto& c : controls_)
    if (!c->parent && c->visible) c->Paint(target, originX + c->left, originY + c->top);
  for (const auto& c : controls_) {
    auto* drop = dynamic_cast<const DropDown*>(c.get());
    if (drop && drop->open && drop->Showing())
      drop->PaintList(target, originX + drop->ScreenLeft(), originY + drop->ScreenTop() + drop->height);
  }
}

Image Form::Compose() const {
  Image picture = canvas;
  PaintControls(picture, 0, 0);
  return picture;
}

void Form::InvalidateRect(int x, int y, int w, int h) {
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = std::min(x + w, canvas.Width()), y1 = std::min(y + h, canvas.Height());
  if (x0 >= x1 || y0 >= y1 || dirty) return;
  // Many small changes cost more to track than one full picture.
  if (dirtyRects_.size() >= 256) {
    dirtyRects_.clear();
    dirty = true;
    return;
  }
  dirtyRects_.push_back({x0, y0, x1 - x0, y1 - y0});
}

uint64_t Form::StateHash() const {
  StateHasher h;
  h.Add(static_cast<uint64_t>(canvas.Width())).Add(static_cast<uint64_t>(canvas.Height()));
  h.Add(reinterpret_cast<uintptr_t>(focus));
  for (const auto& c : controls_) {
    bool showing = c->Showing();
    h.Add(showing);
    if (showing) h.Add(c->StateHash());
  }
  return h.Value();
}
