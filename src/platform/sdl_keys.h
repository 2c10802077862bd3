#pragma once
// SDL keys in the game's currency: Windows virtual-key codes of a US keyboard.
#include <cstdint>

// The virtual-key code of an SDL key (keycode first, the physical position when the
// layout's keycode has no Windows counterpart); 0 when the key has none.
int VirtualKeyFromSdl(int32_t sdlKeycode, int sdlScancode);

// The character Windows types for a key that SDL's text input does not report:
// Enter 13, Escape 27, Backspace 8, Tab 9; otherwise 0.
char ControlCharOfKey(int vk);
