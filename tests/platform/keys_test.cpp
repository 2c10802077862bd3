#include <SDL.h>
#include <gtest/gtest.h>

#include "base/keys.h"
#include "platform/sdl_keys.h"

namespace {
int Vk(SDL_Keycode k, SDL_Scancode s = SDL_SCANCODE_UNKNOWN) { return VirtualKeyFromSdl(k, s); }
}  // namespace

TEST(KeyTable, LettersDigitsAndFunctionKeys) {
  EXPECT_EQ(Vk(SDLK_a), 65);
  EXPECT_EQ(Vk(SDLK_z), 90);
  EXPECT_EQ(Vk(SDLK_0), 48);
  EXPECT_EQ(Vk(SDLK_9), 57);
  EXPECT_EQ(Vk(SDLK_F1), 112);
  EXPECT_EQ(Vk(SDLK_F5), 116);
  EXPECT_EQ(Vk(SDLK_F12), 123);
}

TEST(KeyTable, NavigationAndModifiers) {
  EXPECT_EQ(Vk(SDLK_LEFT), 37);
  EXPECT_EQ(Vk(SDLK_UP), 38);
  EXPECT_EQ(Vk(SDLK_RIGHT), 39);
  EXPECT_EQ(Vk(SDLK_DOWN), 40);
  EXPECT_EQ(Vk(SDLK_ESCAPE), 27);
  EXPECT_EQ(Vk(SDLK_RETURN), 13);
  EXPECT_EQ(Vk(SDLK_KP_ENTER), 13);
  EXPECT_EQ(Vk(SDLK_LSHIFT), 16);
  EXPECT_EQ(Vk(SDLK_RSHIFT), 16);
  EXPECT_EQ(Vk(SDLK_LCTRL), 17);
  EXPECT_EQ(Vk(SDLK_RCTRL), 17);
  EXPECT_EQ(Vk(SDLK_LALT), 18);
  EXPECT_EQ(Vk(SDLK_RALT), 18);
  EXPECT_EQ(Vk(SDLK_SPACE), 32);
  EXPECT_EQ(Vk(SDLK_PRINTSCREEN), 44);
  EXPECT_EQ(Vk(SDLK_INSERT), 45);
  EXPECT_EQ(Vk(SDLK_DELETE), 46);
  EXPECT_EQ(Vk(SDLK_HOME), 36);
  EXPECT_EQ(Vk(SDLK_END), 35);
  EXPECT_EQ(Vk(SDLK_PAGEUP), 33);
  EXPECT_EQ(Vk(SDLK_PAGEDOWN), 34);
  EXPECT_EQ(Vk(SDLK_BACKSPACE), 8);
  EXPECT_EQ(Vk(SDLK_TAB), 9);
}

TEST(KeyTable, KeypadAndPunctuation) {
  EXPECT_EQ(Vk(SDLK_KP_0), 96);
  EXPECT_EQ(Vk(SDLK_KP_5), 101);
  EXPECT_EQ(Vk(SDLK_KP_9), 105);
  EXPECT_EQ(Vk(SDLK_KP_MULTIPLY), 106);
  EXPECT_EQ(Vk(SDLK_KP_PLUS), 107);
  EXPECT_EQ(Vk(SDLK_KP_MINUS), 109);
  EXPECT_EQ(Vk(SDLK_KP_PERIOD), 110);
  EXPECT_EQ(Vk(SDLK_KP_DIVIDE), 111);
  EXPECT_EQ(Vk(SDLK_SEMICOLON), 186);
  EXPECT_EQ(Vk(SDLK_EQUALS), 187);
  EXPECT_EQ(Vk(SDLK_COMMA), 188);
  EXPECT_EQ(Vk(SDLK_MINUS), 189);
  EXPECT_EQ(Vk(SDLK_PERIOD), 190);
  EXPECT_EQ(Vk(SDLK_SLASH), 191);
  EXPECT_EQ(Vk(SDLK_BACKQUOTE), 192);
  EXPECT_EQ(Vk(SDLK_LEFTBRACKET), 219);
  EXPECT_EQ(Vk(SDLK_BACKSLASH), 220);
  EXPECT_EQ(Vk(SDLK_RIGHTBRACKET), 221);
  EXPECT_EQ(Vk(SDLK_QUOTE), 222);
}

TEST(KeyTable, OtherLayoutsFallBackToTheKeysPosition) {
  // An umlaut key where a US keyboard has the semicolon.
  EXPECT_EQ(VirtualKeyFromSdl(0xF6, SDL_SCANCODE_SEMICOLON), 186);
  EXPECT_EQ(VirtualKeyFromSdl(0xE9, SDL_SCANCODE_2), 50);
  EXPECT_EQ(VirtualKeyFromSdl(0x10FFFF, SDL_SCANCODE_UNKNOWN), 0);
}

TEST(KeyTable, KeysThatTypeControlCharacters) {
  EXPECT_EQ(ControlCharOfKey(VK::Enter), 13);
  EXPECT_EQ(ControlCharOfKey(VK::Escape), 27);
  EXPECT_EQ(ControlCharOfKey(VK::Back), 8);
  EXPECT_EQ(ControlCharOfKey(VK::Tab), 9);
  EXPECT_EQ(ControlCharOfKey(VK::F1), 0);
  EXPECT_EQ(ControlCharOfKey(VK::Shift), 0);
  EXPECT_EQ(ControlCharOfKey(VK::Left), 0);
}
