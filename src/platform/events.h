#pragma once
// What the door reports and accepts, in the game's terms: virtual-key codes, typed
// characters, mouse positions on the logical screen, and the pointer's shape.
enum class MouseButton { Left, Right, Middle };
enum class CursorKind { Arrow, Hourglass, Hand, Hidden };

// Scripts and tests push these directly, as the window does.
struct InputEvent {
  // MouseMove moves the pointer (hover cursor, box buttons) and reaches a control only
  // through its onMouseMove. Wheel turns the mouse wheel at the pointer.
  enum class Type { KeyDown, KeyUp, Char, MouseDown, MouseUp, Close, MouseMove, Wheel };
  Type type = Type::KeyDown;
  int vk = 0;        // KeyDown / KeyUp: virtual-key code
  char ch = 0;       // Char: the typed character (Latin-1 byte)
  int x = 0, y = 0;  // mouse, in logical screen coordinates
  MouseButton button = MouseButton::Left;
  bool repeat = false;  // KeyDown produced by the keyboard's own repeat
  int wheel = 0;        // Wheel: notches turned, positive away from the user
};
