#include "platform/sdl_keys.h"

#include <SDL.h>

#include "base/keys.h"

namespace {

int FromKeycode(SDL_Keycode k) {
  if (k >= SDLK_a && k <= SDLK_z) return VK::A + (k - SDLK_a);
  if (k >= SDLK_0 && k <= SDLK_9) return VK::Digit0 + (k - SDLK_0);
  if (k >= SDLK_F1 && k <= SDLK_F12) return VK::F1 + (k - SDLK_F1);
  if (k >= SDLK_F13 && k <= SDLK_F24) return VK::F12 + 1 + (k - SDLK_F13);
  if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return VK::Numpad0 + 1 + (k - SDLK_KP_1);
  switch (k) {
    case SDLK_BACKSPACE: return VK::Back;
    case SDLK_TAB: return VK::Tab;
    case SDLK_RETURN:
    case SDLK_RETURN2:
    case SDLK_KP_ENTER: return VK::Enter;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK::Shift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK::Control;
    case SDLK_LALT:
    case SDLK_RALT:
    case SDLK_MODE: return VK::Alt;
    case SDLK_PAUSE: return VK::Pause;
    case SDLK_CAPSLOCK: return VK::CapsLock;
    case SDLK_ESCAPE: return VK::Escape;
    case SDLK_SPACE: return VK::Space;
    case SDLK_PAGEUP: return VK::PageUp;
    case SDLK_PAGEDOWN: return VK::PageDown;
    case SDLK_END: return VK::End;
    case SDLK_HOME: return VK::Home;
    case SDLK_LEFT: return VK::Left;
    case SDLK_UP: return VK::Up;
    case SDLK_RIGHT: return VK::Right;
    case SDLK_DOWN: return VK::Down;
    case SDLK_PRINTSCREEN: return VK::PrintScreen;
    case SDLK_INSERT: return VK::Insert;
    case SDLK_DELETE: return VK::Delete;
    case SDLK_LGUI: return 91;
    case SDLK_RGUI: return 92;
    case SDLK_APPLICATION: return 93;
    case SDLK_KP_0: return VK::Numpad0;
    case SDLK_KP_MULTIPLY: return VK::Multiply;
    case SDLK_KP_PLUS: return VK::Add;
    case SDLK_KP_MINUS: return VK::Subtract;
    case SDLK_KP_PERIOD:
    case SDLK_KP_COMMA: return VK::Decimal;
    case SDLK_KP_DIVIDE: return VK::Divide;
    case SDLK_NUMLOCKCLEAR: return VK::NumLock;
    case SDLK_SCROLLLOCK: return VK::ScrollLock;
    case SDLK_SEMICOLON: return VK::Semicolon;
    case SDLK_EQUALS: return VK::Plus;
    case SDLK_COMMA: return VK::Comma;
    case SDLK_MINUS: return VK::Minus;
    case SDLK_PERIOD: return VK::Period;
    case SDLK_SLASH: return VK::Slash;
    case SDLK_BACKQUOTE: return VK::Tilde;
    case SDLK_LEFTBRACKET: return VK::LeftBracket;
    case SDLK_BACKSLASH: return VK::Backslash;
    case SDLK_RIGHTBRACKET: return VK::RightBracket;
    case SDLK_QUOTE: return VK::Quote;
    default: return 0;
  }
}

// Keys whose keycode is a character of another layout (an umlaut, a dead key):
// name them by where they sit on a US keyboard, as Windows does for its OEM keys.
int FromScancode(int s) {
  if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z) return VK::A + (s - SDL_SCANCODE_A);
  if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9) return VK::Digit0 + 1 + (s - SDL_SCANCODE_1);
  switch (s) {
    case SDL_SCANCODE_0: return VK::Digit0;
    case SDL_SCANCODE_SEMICOLON: return VK::Semicolon;
    case SDL_SCANCODE_EQUALS: return VK::Plus;
    case SDL_SCANCODE_COMMA: return VK::Comma;
    case SDL_SCANCODE_MINUS: return VK::Minus;
    case SDL_SCANCODE_PERIOD: return VK::Period;
    case SDL_SCANCODE_SLASH: return VK::Slash;
    case SDL_SCANCODE_GRAVE: return VK::Tilde;
    case SDL_SCANCODE_LEFTBRACKET: return VK::LeftBracket;
    case SDL_SCANCODE_BACKSLASH:
    case SDL_SCANCODE_NONUSHASH: return VK::Backslash;
    case SDL_SCANCODE_RIGHTBRACKET: return VK::RightBracket;
    case SDL_SCANCODE_APOSTROPHE: return VK::Quote;
    case SDL_SCANCODE_NONUSBACKSLASH: return 226;
    default: return 0;
  }
}

}  // namespace

int VirtualKeyFromSdl(int32_t sdlKeycode, int sdlScancode) {
  int vk = FromKeycode(static_cast<SDL_Keycode>(sdlKeycode));
  return vk != 0 ? vk : FromScancode(sdlScancode);
}

char ControlCharOfKey(int vk) {
  switch (vk) {
    case VK::Enter: return 13;
    case VK::Escape: return 27;
    case VK::Back: return 8;
    case VK::Tab: return 9;
    default: return 0;
  }
}
