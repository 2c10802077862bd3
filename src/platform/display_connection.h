#pragma once
// The display server's connection behind an SDL window (kept apart: the X headers'
// names clash with ours).
struct SDL_Window;

// The connection's descriptor, or -1 without a window or on a video driver that has none.
int DisplayConnectionOf(SDL_Window* window);
