// Keys and the focus; the pointer shape.
#include "ui/input_router.h"

#include <algorithm>

#include "base/keys.h"
#include "platform/window.h"
#include "ui/form.h"

namespace {

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
    case VK::F1 + 3:
      if (d.open)
        d.open = false;
      else
        d.Unfold();
      return;
    default: return;
  }
  d.Choose(index);
  d.open = wasOpen;
}

}  // namespace

void InputRouter::Dispatch(const InputEvent& e) {
  if (e.type == InputEvent::Type::Close) {
    if (!state_.forms.empty()) state_.forms.front()->FormClose();
    return;
  }
  if (e.type == InputEvent::Type::MouseDown || e.type == InputEvent::Type::MouseUp ||
      e.type == InputEvent::Type::MouseMove || e.type == InputEvent::Type::Wheel) {
    DispatchMouse(e);
    return;
  }
  if (!FilterKey(e)) return;
  Form* form = state_.InputTarget();
  if (!form) return;
  // An unfolded list answers Escape and Enter before the form, as a dropped combo box
  // does; their release is its too, so Escape folds the list without leaving the screen.
  const bool listKey = e.type == InputEvent::Type::KeyDown && (e.vk == VK::Escape || e.vk == VK::Enter);
  if (DropDown* list = listKey ? OpenList(*form) : nullptr) {
    if (e.vk == VK::Escape)
      list->CancelList();
    else
      list->open = false;
    KeyTaken(e);
    return;
  }
  // Key preview: the form sees every key before its focused control.
  switch (e.type) {
    case InputEvent::Type::KeyDown: form->FormKeyDown(e.vk); break;
    case InputEvent::Type::KeyUp: form->FormKeyUp(e.vk); break;
    default: form->FormKeyPress(e.ch); break;
  }
  if (state_.terminated || form != state_.InputTarget()) return;
  if (e.type == InputEvent::Type::KeyDown && e.vk == VK::Tab) {
    form->FocusNext(KeyDown(VK::Shift));
    return;
  }
  Control* focus = form->focus;
  if (focus && focus->Showing() && focus->enabled) KeyToFocus(*form, *focus, e);
}

bool InputRouter::DisplaySwitchKey(const InputEvent& e, bool& switchNow) {
  switchNow = false;
  if (e.type != InputEvent::Type::KeyDown || e.vk != VK::Enter || !KeyDown(VK::Alt)) return false;
  keysDown_[VK::Enter] = true;
  swallowUps_[VK::Enter] = true;
  swallowChars_ = true;
  switchNow = !e.repeat;
  return true;
}

void InputRouter::KeyTaken(const InputEvent& e) {
  if (e.vk < 0 || e.vk >= kKeys) return;
  const auto key = static_cast<size_t>(e.vk);
  if (e.type == InputEvent::Type::KeyDown) {
    keysDown_[key] = true;
    swallowUps_[key] = true;
    swallowChars_ = true;
  } else if (e.type == InputEvent::Type::KeyUp) {
    keysDown_[key] = false;
    swallowUps_[key] = false;
  }
}

// Keeps the keys a box took from the forms; false when the event goes no further.
bool InputRouter::FilterKey(const InputEvent& e) {
  const bool inRange = e.vk >= 0 && e.vk < kKeys;
  const size_t key = inRange ? static_cast<size_t>(e.vk) : 0;
  MessageBoxState* box = state_.TopBox();
  if (e.type == InputEvent::Type::KeyDown) {
    bool heldBefore = inRange && keysDown_[key] && !swallowUps_[key];
    if (inRange) keysDown_[key] = true;
    if (box) {
      // The repeat of a key held since before the box is nobody's; its release goes
      // to the form that saw it pressed.
      if (e.repeat && heldBefore) return false;
      if (inRange) swallowUps_[key] = true;
      swallowChars_ = true;
      BoxInput(*box, e);
      return false;
    }
    swallowChars_ = false;
    return true;
  }
  if (e.type == InputEvent::Type::KeyUp) {
    if (!inRange) return true;
    keysDown_[key] = false;
    // The release of a key that a box took stays with the box, even after it closed.
    bool swallowed = swallowUps_[key];
    swallowUps_[key] = false;
    return !swallowed;
  }
  return !box && !swallowChars_;
}

void InputRouter::KeyToFocus(Form& form, Control& focus, const InputEvent& e) {
  if (auto* edit = dynamic_cast<EditField*>(&focus)) {
    KeyToEdit(form, *edit, e);
  } else if (auto* drop = dynamic_cast<DropDown*>(&focus)) {
    if (e.type == InputEvent::Type::KeyDown) DropDownKey(*drop, e.vk);
  }
}

void InputRouter::KeyToEdit(Form& form, EditField& edit, const InputEvent& e) {
  if (e.type == InputEvent::Type::KeyDown) {
    if (edit.onKeyDown) edit.onKeyDown(e.vk);
    if (form.focus == &edit && edit.EditKey(e.vk) && edit.onChange) edit.onChange();
  } else if (e.type == InputEvent::Type::KeyUp) {
    if (edit.onKeyUp) edit.onKeyUp(e.vk);
  } else {
    char c = e.ch;
    if (edit.onKeyPress) edit.onKeyPress(c);
    if (c != 0 && form.focus == &edit && edit.TypeChar(c) && edit.onChange) edit.onChange();
  }
}

CursorKind InputRouter::ShownCursor() const {
  for (const ModalLayer& l : state_.layers)
    if (l.box) return CursorKind::Arrow;
  if (state_.cursor == CursorKind::Hourglass || state_.cursor == CursorKind::Hidden) return state_.cursor;
  Form* target = state_.InputTarget();
  if (target && mouseX_ >= 0) {
    int ox, oy;
    state_.FormOrigin(target, ox, oy);
    Control* c = target->ControlAt(mouseX_ - ox, mouseY_ - oy);
    if (c && c->enabled && c->cursor != CursorKind::Arrow) return c->cursor;
  }
  return state_.cursor;
}

void InputRouter::ApplyCursor() {
  if (state_.window) state_.window->SetCursor(ShownCursor());
}

void InputRouter::ReleaseCapture(const Form* form) {
  if (captureForm_ != form) return;
  capture_ = nullptr;
  captureForm_ = nullptr;
}
