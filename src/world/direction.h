#pragma once
// Directions 1..8 run clockwise from up; y grows downward. Index 0 is "standing".

constexpr int DirDx[9] = {0, 0, +1, +1, +1, 0, -1, -1, -1};
constexpr int DirDy[9] = {0, -1, -1, 0, +1, +1, +1, 0, -1};

constexpr bool IsDirection(int d) { return d >= 1 && d <= 8; }
