// The mouse: presses to the control under the pointer, releases to the control that
// took the press, unfolded drop-down lists, and presses begun before a box opened.
#include "ui/form.h"
#include "ui/input_router.h"

namespace {

bool InListArea(const DropDown& d, int x, int y) {
  int lx = d.ScreenLeft(), ly = d.ScreenTop() + d.height;
  return x >= lx && x < lx + d.width && y >= ly && y < ly + d.ListHeight();
}

}  // namespace

DropDown* InputRouter::OpenList(Form& form) {
  for (const auto& c : form.Controls())
    if (auto* d = dynamic_cast<DropDown*>(c.get()); d && d->open) return d;
  return nullptr;
}

void InputRouter::DispatchMouse(const InputEvent& e) {
  mouseX_ = e.x;
  mouseY_ = e.y;
  MessageBoxState* box = state_.TopBox();
  if (e.type == InputEvent::Type::MouseMove) {
    if (box)
      BoxInput(*box, e);
    else
      PointerToControl(e);
    ApplyCursor();
    return;
  }
  if (e.type == InputEvent::Type::Wheel) {
    if (!box) PointerToControl(e);
    return;
  }
  if (box) {
    if (!BoxInput(*box, e)) MouseUnderBox(e);
    return;
  }
  if (e.type == InputEvent::Type::MouseDown)
    MouseDown(e);
  else
    MouseUp(e);
}

// A press that began before the box opened still ends where it began, without a click.
void InputRouter::MouseUnderBox(const InputEvent& e) {
  if (e.type != InputEvent::Type::MouseUp || !capture_) return;
  Control* c = capture_;
  Form* f = captureForm_;
  capture_ = nullptr;
  captureForm_ = nullptr;
  int ox, oy;
  state_.FormOrigin(f, ox, oy);
  if (c->onMouseUp) c->onMouseUp(e.button, e.x - ox - c->ScreenLeft(), e.y - oy - c->ScreenTop());
}

void InputRouter::MouseDown(const InputEvent& e) {
  Form* form = state_.InputTarget();
  if (!form) return;
  int ox, oy;
  state_.FormOrigin(form, ox, oy);
  int x = e.x - ox, y = e.y - oy;
  if (DropDown* open = OpenList(*form)) {
    if (InListArea(*open, x, y)) {
      capture_ = open;
      captureForm_ = form;
      captureInList_ = true;
      return;
    }
    // A click elsewhere only folds the list up, as a Windows combo box does.
    open->open = false;
    return;
  }
  Control* c = form->ControlAt(x, y);
  if (!c || !c->enabled) return;
  if (c->CanFocus()) {
    if (auto* edit = dynamic_cast<EditField*>(c)) {
      edit->selected = false;
      edit->caret = edit->CaretIndexAt(x - c->ScreenLeft());
    }
    form->SetFocus(c);
  }
  if (auto* drop = dynamic_cast<DropDown*>(c); drop && e.button == MouseButton::Left)
    drop->Unfold();
  capture_ = c;
  captureForm_ = form;
  captureInList_ = false;
  if (c->onMouseDown) c->onMouseDown(e.button, x - c->ScreenLeft(), y - c->ScreenTop());
}

// To the control that took the press.
void InputRouter::MouseUp(const InputEvent& e) {
  Control* c = capture_;
  Form* form = captureForm_;
  bool inList = captureInList_;
  capture_ = nullptr;
  captureForm_ = nullptr;
  captureInList_ = false;
  if (!c || !form) return;
  int ox, oy;
  state_.FormOrigin(form, ox, oy);
  int x = e.x - ox, y = e.y - oy;
  if (auto* drop = dynamic_cast<DropDown*>(c); drop && drop->open && InListArea(*drop, x, y)) {
    int index = drop->ItemAt(y - drop->ScreenTop() - drop->height);
    if (index >= 0) drop->Choose(index);
    return;
  }
  if (inList) return;
  // As in Windows forms: the click first, then the release.
  bool over = form->ControlAt(x, y) == c;
  if (over && e.button == MouseButton::Left && c->onClick) c->onClick();
  if (state_.terminated) return;
  if (c->onMouseUp) c->onMouseUp(e.button, x - c->ScreenLeft(), y - c->ScreenTop());
}

// Moves to the control holding the press, else to the one under the pointer; wheel
// turns to the control under the pointer or the nearest parent that takes them.
void InputRouter::PointerToControl(const InputEvent& e) {
  const bool wheel = e.type == InputEvent::Type::Wheel;
  Form* form = wheel || !capture_ ? state_.InputTarget() : captureForm_;
  if (!form) return;
  int ox, oy;
  state_.FormOrigin(form, ox, oy);
  const int x = e.x - ox, y = e.y - oy;
  Control* c = !wheel && capture_ ? capture_ : form->ControlAt(x, y);
  if (wheel)
    while (c && !c->onWheel) c = c->parent;
  if (!c || !c->enabled) return;
  if (wheel)
    c->onWheel(e.wheel, x - c->ScreenLeft(), y - c->ScreenTop());
  else if (c->onMouseMove)
    c->onMouseMove(x - c->ScreenLeft(), y - c->ScreenTop());
}
