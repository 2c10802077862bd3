#pragma once
// Directions 1..8 run clockwise from up; y grows downward. Index 0 is "standing".

namespace Dir {
constexpr int None = 0;
constexpr int Up = 1;
constexpr int UpRight = 2;
constexpr int Right = 3;
constexpr int DownRight = 4;
constexpr int Down = 5;
constexpr int DownLeft = 6;
constexpr int Left = 7;
constexpr int UpLeft = 8;
}  // namespace Dir

constexpr int DirDx[9] = {0, 0, +1, +1, +1, 0, -1, -1, -1};
constexpr int DirDy[9] = {0, -1, -1, 0, +1, +1, +1, 0, -1};

constexpr bool IsDirection(int d) { return d >= 1 && d <= 8; }
