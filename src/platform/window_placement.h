#pragma once
// Where a resizable window first opens: the largest whole multiple of the logical
// screen whose frame fits the desktop's work area (at least the logical size itself),
// centred in it. Pure arithmetic, so that it is tested without a display.
#include "base/rect.h"

// The window manager's frame around the client area.
struct WindowFrame {
  int top = 0, left = 0, bottom = 0, right = 0;
};

// The client area (position and size) of the window's first place.
Rect PlaceWindow(const Rect& workArea, const WindowFrame& frame, int logicalWidth, int logicalHeight);
