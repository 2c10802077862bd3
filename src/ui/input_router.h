#pragma once
// Routing input: an open box on top takes it; otherwise the innermost modal form or
// the visible one. Keys reach the form before its focused control (key preview); Tab
// moves the focus; a mouse press goes to the control under it, which captures the
// release; an unfolded drop-down list takes the clicks over it, and Escape and Enter.
#include <bitset>

#include "platform/events.h"
#include "ui/app_state.h"

class Control;
class DropDown;
class EditField;
class Form;

class InputRouter {
 public:
  explicit InputRouter(AppState& state) : state_(state) {}

  void Dispatch(const InputEvent& e);
  // Alt+Enter, which switches between full screen and a window on every screen: true
  // when `e` is its Enter, which then reaches no form or box (nor do its repeats, its
  // character or its release); `switchNow` for the press itself, not a repeat.
  bool DisplaySwitchKey(const InputEvent& e, bool& switchNow);
  // A key event that something outside the forms took (a replay's watcher): like a key
  // a box took, its release and characters reach no form, even after it stopped.
  void KeyTaken(const InputEvent& e);
  // The pointer shown now: the app's hourglass or hidden pointer wins; otherwise the
  // hovered control's cursor; the arrow over an open box.
  CursorKind ShownCursor() const;
  // Shows ShownCursor() in the window.
  void ApplyCursor();
  // A form hidden or going away drops the control that captured the mouse.
  void ReleaseCapture(const Form* form);

 private:
  // Keys.
  bool FilterKey(const InputEvent& e);
  void KeyToFocus(Form& form, Control& focus, const InputEvent& e);
  void KeyToEdit(Form& form, EditField& edit, const InputEvent& e);
  bool KeyDown(int vk) const { return vk >= 0 && vk < kKeys && keysDown_[static_cast<size_t>(vk)]; }
  // The form's unfolded drop-down list, or null.
  static DropDown* OpenList(Form& form);
  // Mouse.
  void DispatchMouse(const InputEvent& e);
  void MouseUnderBox(const InputEvent& e);
  void MouseDown(const InputEvent& e);
  void MouseUp(const InputEvent& e);
  void PointerToControl(const InputEvent& e);
  // Input for the innermost box; false when the event is not the box's.
  bool BoxInput(MessageBoxState& box, const InputEvent& e);
  bool BoxMouse(MessageBoxState& box, const InputEvent& e);

  static constexpr int kKeys = 256;
  AppState& state_;
  Control* capture_ = nullptr;
  Form* captureForm_ = nullptr;
  bool captureInList_ = false;  // the press began in an unfolded drop-down list
  int mouseX_ = -1, mouseY_ = -1;
  std::bitset<kKeys> keysDown_;
  std::bitset<kKeys> swallowUps_;  // keys pressed while a box was open
  bool swallowChars_ = false;      // characters of a key a box took
};
