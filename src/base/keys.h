#pragma once
// Windows virtual-key codes: the game's key currency everywhere.

namespace VK {
constexpr int Back = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Alt = 18;
constexpr int Pause = 19;
constexpr int CapsLock = 20;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int PrintScreen = 44;
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int Digit0 = 48;  // '0'..'9' are 48..57
constexpr int A = 65;       // 'A'..'Z' are 65..90
constexpr int N = 78;
constexpr int Numpad0 = 96;  // 96..105
constexpr int Multiply = 106;
constexpr int Add = 107;
constexpr int Subtract = 109;
constexpr int Decimal = 110;
constexpr int Divide = 111;
constexpr int F1 = 112;  // F1..F12 are 112..123
constexpr int F2 = 113;
constexpr int F5 = 116;
constexpr int F6 = 117;
constexpr int F7 = 118;
constexpr int F10 = 121;
constexpr int F11 = 122;
constexpr int F12 = 123;
constexpr int NumLock = 144;
constexpr int ScrollLock = 145;
constexpr int Semicolon = 186;  // US layout punctuation, 186..192 and 219..222
constexpr int Plus = 187;
constexpr int Comma = 188;
constexpr int Minus = 189;
constexpr int Period = 190;
constexpr int Slash = 191;
constexpr int Tilde = 192;
constexpr int LeftBracket = 219;
constexpr int Backslash = 220;
constexpr int RightBracket = 221;
constexpr int Quote = 222;
// Codes no keyboard sends. A network game binds its players to these (Up, Down, Left,
// Right, Fire, Menu, in this order), so that what reaches it from the other machine is
// never taken for a key of this one.
constexpr int NetPlayer1Keys = 0x88;  // 0x88..0x8D
constexpr int NetPlayer2Keys = 0x97;  // 0x97..0x9C
}  // namespace VK
