// Answering a message box: Enter or Space for the default button, Y and N in a Yes/No
// box, Escape to close, Tab and the arrows to move the default; or a click on a button.
#include "base/keys.h"
#include "ui/input_router.h"
#include "ui/modal_layers.h"

namespace {
void Answer(MessageBoxState& box, BoxResult r) {
  box.result = r;
  box.done = true;
}
}  // namespace

bool InputRouter::BoxInput(MessageBoxState& box, const InputEvent& e) {
  const bool yesNo = box.kind == BoxKind::Confirmation;
  const int n = static_cast<int>(box.buttons.size());
  switch (e.type) {
    case InputEvent::Type::KeyDown:
      if (e.vk == VK::Enter || e.vk == VK::Space) Answer(box, box.buttons[static_cast<size_t>(box.focused)]);
      else if (e.vk == VK::Escape) Answer(box, yesNo ? BoxResult::No : BoxResult::Ok);
      else if (yesNo && e.vk == VK::A + ('Y' - 'A')) Answer(box, BoxResult::Yes);
      else if (yesNo && e.vk == VK::N) Answer(box, BoxResult::No);
      else if (e.vk == VK::Tab || e.vk == VK::Right || e.vk == VK::Down)
        box.focused = (box.focused + 1) % n;
      else if (e.vk == VK::Left || e.vk == VK::Up)
        box.focused = (box.focused + n - 1) % n;
      return true;
    case InputEvent::Type::KeyUp:
    case InputEvent::Type::Char:
      return true;
    case InputEvent::Type::MouseDown:
    case InputEvent::Type::MouseMove:
    case InputEvent::Type::MouseUp:
      return BoxMouse(box, e);
    case InputEvent::Type::Close:
    case InputEvent::Type::Wheel:
      return false;
  }
  return false;
}

bool InputRouter::BoxMouse(MessageBoxState& box, const InputEvent& e) {
  BoxLayout layout = LayoutMessageBox(state_.text, box, state_.ScreenWidth(), state_.ScreenHeight(), state_.title);
  int at = BoxButtonAt(layout, e.x, e.y);
  if (e.type == InputEvent::Type::MouseDown) {
    if (e.button != MouseButton::Left) return true;
    // A press begun before the box opened is not the box's to finish.
    if (at < 0) return !capture_;
    box.pressed = at;
    box.pressedInside = true;
    box.focused = at;
    return true;
  }
  if (e.type == InputEvent::Type::MouseMove) {
    if (box.pressed >= 0) box.pressedInside = at == box.pressed;
    return true;
  }
  if (box.pressed < 0) return !capture_;
  int pressed = box.pressed;
  box.pressed = -1;
  box.pressedInside = false;
  if (at == pressed) Answer(box, box.buttons[static_cast<size_t>(pressed)]);
  return true;
}
