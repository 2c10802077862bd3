#include "ui/form.h"

#include <algorithm>

#include "ui/app.h"
#include "ui/damage.h"

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

Control* HitIn(const std::vector<Control*>& list, int x, int y);

// The control itself or, for a panel, its child under the point.
Control* HitOn(Control* c, int x, int y) {
  if (!c->visible) return nullptr;
  int w, h;
  ShownSize(c, w, h);
  if (x < c->left || y < c->top || x >= c->left + w || y >= c->top + h) return nullptr;
  if (auto* panel = dynamic_cast<Panel*>(c)) {
    if (Control* child = HitIn(panel->children, x - c->left, y - c->top)) return child;
  }
  return TakesMouse(c) ? c : nullptr;
}

// Reverse painting order: the last painted lies on top.
Control* HitIn(const std::vector<Control*>& list, int x, int y) {
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if (Control* hit = HitOn(*it, x, y)) return hit;
  return nullptr;
}

// A label's hidden state and a shown one never compare equal.
constexpr uint64_t kNotShowing = 0x9e3779b97f4a7c15ULL;

}  // namespace

Form::Form(App& owner, std::string formName, int clientWidth, int clientHeight, Color back)
    : app(owner), name(std::move(formName)), background(back), canvas(clientWidth, clientHeight, back) {
  app.AddForm(this);
}

Form::~Form() { app.RemoveForm(this); }

void Form::SetClientSize(int w, int h) {
  canvas.Reset(w, h, background);
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
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
    if (Control* hit = (*it)->parent ? nullptr : HitOn(it->get(), x, y)) return hit;
  return nullptr;
}

void Form::PaintControls(Image& target, int originX, int originY) const {
  PaintSome(target, originX, originY, nullptr);
}

void Form::PaintControls(Image& target, int originX, int originY, const Rect& only) const {
  PaintSome(target, originX, originY, &only);
}

void Form::PaintSome(Image& target, int originX, int originY, const Rect* only) const {
  auto wanted = [only](const Control& c) { return !only || c.PaintArea().Overlaps(*only); };
  for (const auto& c : controls_)
    if (!c->parent && c->visible && wanted(*c)) c->Paint(target, originX + c->left, originY + c->top);
  for (const auto& c : controls_) {
    auto* drop = dynamic_cast<const DropDown*>(c.get());
    if (drop && drop->open && drop->Showing() && wanted(*drop))
      drop->PaintList(target, originX + drop->ScreenLeft(), originY + drop->ScreenTop() + drop->height);
  }
}

Image Form::Compose() const {
  Image picture = canvas.Copy();
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

void Form::TakeDamage(DamageList& damage, int originX, int originY) {
  if (dirty) {
    damage.Add({originX, originY, ClientWidth(), ClientHeight()});
  } else {
    for (const DirtyRect& r : dirtyRects_) damage.Add({originX + r.x, originY + r.y, r.w, r.h});
  }
  dirty = false;
  dirtyRects_.clear();
  for (const auto& c : controls_) TakeControlDamage(*c, damage, originX, originY);
}

void Form::TakeControlDamage(Control& c, DamageList& damage, int originX, int originY) {
  const bool showing = c.Showing();
  uint64_t hash = showing ? c.StateHash() : kNotShowing;
  if (c.shownKnown_ && hash == c.shownHash_) return;
  if (auto* label = dynamic_cast<Label*>(&c); label && showing && label->autoSize) {
    label->FitToText();
    hash = c.StateHash();
  }
  Rect area = showing ? c.PaintArea() : Rect{};
  if (c.shownKnown_) damage.Add(c.shownArea_.Moved(originX, originY));
  damage.Add(area.Moved(originX, originY));
  c.shownKnown_ = true;
  c.shownHash_ = hash;
  c.shownArea_ = area;
}

void Form::MakeWaitingPictures() {
  for (const auto& c : controls_)
    if (auto* picture = dynamic_cast<Picture*>(c.get()); picture && picture->image.WaitsForIdleMoments()) picture->image.Get();
}
