// Routing input: boxes first, then the innermost modal form or the visible one; keys
// to the form before its focused control, the mouse to the control under it.
#include <algorithm>

#include "ui/app.h"
#include "ui/app_impl.h"
#include "ui/form.h"
#include "base/keys.h"

namespace {

bool TopLayerIsBox(const std::vector<ModalLayer>& layers) { return !layers.empty() && layers.back().box; }

DropDown* OpenList(Form& form) {
  for (const auto& c : form.Controls())
    if (auto* d = dynamic_cast<DropDown*>(c.get()); d && d->open) return d;
  return nullptr;
}

bool InListArea(const DropDown& d, int x, int y) {
  int lx = d.ScreenLeft(), ly = d.ScreenTop() + d.height;
  return x >= lx && x < lx + d.width && y >= ly && y < ly + d.ListHeight();
}

void DropDownKey(DropDown& d, int vk) {
  int n = static_cast<int>(d.items.size());
  if (n == 0) return;
  bool wasOpen = d.open;
  int index = d.selectedIndex;
  switch (vk) {
    case VK::Up:
    case VK::Left: index = std::max(index - 1, 0); break;
    case VK::Down:
    case VK::Right: index = std::min(index + 1, n - 1); break;
    case VK::Home: index = 0; break;
    case VK::End: index = n - 1; break;
    case VK::F1 + 3: d.open = !d.open; return;
    case VK::Enter:
    case VK::Escape: d.open = false; return;
    default: return;
  }
  d.Choose(index);
  d.open = wasOpen;
}

}  // namespace

void App::Dispatch(const InputEvent& e) {
  switch (e.type) {
    case InputEvent::Type::Close:
      if (!forms_.empty()) forms_.front()->FormClose();
      return;
    case InputEvent::Type::KeyDown:
    case InputEvent::Type::KeyUp:
    case InputEvent::Type::Char:
      DispatchKey(e);
      return;
    case InputEvent::Type::MouseDown:
    case InputEvent::Type::MouseUp:
    case InputEvent::Type::MouseMove:
    case InputEvent::Type::Wheel:
      DispatchMouse(e);
      return;
  }
}

void App::DispatchKey(const InputEvent& e) {
  Impl& m = *impl_;
  bool boxOnTop = TopLayerIsBox(m.layers);
  if (e.type == InputEvent::Type::KeyDown) {
    bool heldBefore = m.keysDown.count(e.vk) > 0 && m.swallowUps.count(e.vk) == 0;
    m.keysDown.insert(e.vk);
    if (boxOnTop) {
      // The repeat of a key held since before the box is nobody's; its release goes
      // to the form that saw it pressed.
      if (e.repeat && heldBefore) return;
      m.swallowUps.insert(e.vk);
      m.swallowChars = true;
      BoxInput(e);
      return;
    }
    m.swallowChars = false;
  } else if (e.type == InputEvent::Type::KeyUp) {
    m.keysDown.erase(e.vk);
    // The release of a key that a box took stays with the box, even after it closed.
    if (m.swallowUps.erase(e.vk) > 0) return;
  } else {
    if (boxOnTop || m.swallowChars) return;
  }

  Form* form = InputTarget();
  if (!form) return;
  // Key preview: the form sees every key before its focused control.
  switch (e.type) {
    case InputEvent::Type::KeyDown: form->FormKeyDown(e.vk); break;
    case InputEvent::Type::KeyUp: form->FormKeyUp(e.vk); break;
    default: form->FormKeyPress(e.ch); break;
  }
  if (terminated_ || form != InputTarget()) return;

  if (e.type == InputEvent::Type::KeyDown && e.vk == VK::Tab) {
    form->FocusNext(m.keysDown.count(VK::Shift) > 0);
    return;
  }
  Control* focus = form->focus;
  if (!focus || !focus->Showing() || !focus->enabled) return;
  if (auto* edit = dynamic_cast<EditField*>(focus)) {
    if (e.type == InputEvent::Type::KeyDown) {
      if (edit->onKeyDown) edit->onKeyDown(e.vk);
      if (form->focus == edit && edit->EditKey(e.vk) && edit->onChange) edit->onChange();
    } else if (e.type == InputEvent::Type::KeyUp) {
      if (edit->onKeyUp) edit->onKeyUp(e.vk);
    } else {
      char c = e.ch;
      if (edit->onKeyPress) edit->onKeyPress(c);
      if (c != 0 && form->focus == edit && edit->TypeChar(c) && edit->onChange) edit->onChange();
    }
  } else if (auto* drop = dynamic_cast<DropDown*>(focus)) {
    if (e.type == InputEvent::Type::KeyDown) DropDownKey(*drop, e.vk);
  }
}

void App::DispatchMouse(const InputEvent& e) {
  Impl& m = *impl_;
  if (e.type == InputEvent::Type::MouseMove) {
    m.mouseX = e.x;
    m.mouseY = e.y;
    if (TopLayerIsBox(m.layers))
      BoxInput(e);
    else
      PointerToControl(e);
    ApplyCursor();
    return;
  }
  if (e.type == InputEvent::Type::Wheel) {
    if (!TopLayerIsBox(m.layers)) PointerToControl(e);
    return;
  }
  m.mouseX = e.x;
  m.mouseY = e.y;
  if (TopLayerIsBox(m.layers)) {
    if (BoxInput(e)) return;
    // A press that began before the box opened still ends where it began, without a click.
    if (e.type == InputEvent::Type::MouseUp && m.capture) {
      Control* c = m.capture;
      Form* f = m.captureForm;
      m.capture = nullptr;
      m.captureForm = nullptr;
      int ox, oy;
      FormOrigin(f, ox, oy);
      if (c->onMouseUp) c->onMouseUp(e.button, e.x - ox - c->ScreenLeft(), e.y - oy - c->ScreenTop());
    }
    return;
  }

  if (e.type == InputEvent::Type::MouseDown) {
    Form* form = InputTarget();
    if (!form) return;
    int ox, oy;
    FormOrigin(form, ox, oy);
    int x = e.x - ox, y = e.y - oy;
    if (DropDown* open = OpenList(*form)) {
      if (InListArea(*open, x, y)) {
        m.capture = open;
        m.captureForm = form;
        m.captureInList = true;
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
      drop->open = !drop->items.empty();
    m.capture = c;
    m.captureForm = form;
    m.captureInList = false;
    if (c->onMouseDown) c->onMouseDown(e.button, x - c->ScreenLeft(), y - c->ScreenTop());
    return;
  }

  // MouseUp: to the control that took the press.
  Control* c = m.capture;
  Form* form = m.captureForm;
  bool inList = m.captureInList;
  m.capture = nullptr;
  m.captureForm = nullptr;
  m.captureInList = false;
  if (!c || !form) return;
  int ox, oy;
  FormOrigin(form, ox, oy);
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
  if (terminated_) return;
  if (c->onMouseUp) c->onMouseUp(e.button, x - c->ScreenLeft(), y - c->ScreenTop());
}

// Moves to the control holding the press, else to the one under the pointer; wheel
// turns to the control under the pointer or the nearest parent that takes them.
void App::PointerToControl(const InputEvent& e) {
  Impl& m = *impl_;
  const bool wheel = e.type == InputEvent::Type::Wheel;
  Form* form = wheel || !m.capture ? InputTarget() : m.captureForm;
  if (!form) return;
  int ox, oy;
  FormOrigin(form, ox, oy);
  const int x = e.x - ox, y = e.y - oy;
  Control* c = !wheel && m.capture ? m.capture : form->ControlAt(x, y);
  if (wheel)
    while (c && !c->onWheel) c = c->parent;
  if (!c || !c->enabled) return;
  if (wheel)
    c->onWheel(e.wheel, x - c->ScreenLeft(), y - c->ScreenTop());
  else if (c->onMouseMove)
    c->onMouseMove(x - c->ScreenLeft(), y - c->ScreenTop());
}
