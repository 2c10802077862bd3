#pragma once
// SDL's events in the game's terms: virtual keys, typed characters, mouse positions on
// the logical screen, and the close request.
#include <deque>
#include <set>

#include "platform/events.h"

class Window;

class SdlInput {
 public:
  explicit SdlInput(Window& window) : window_(window) {}
  // Appends every pending event; never waits.
  void Poll(std::deque<InputEvent>& out);

 private:
  Window& window_;
  // Keys released while another window had the keyboard would stay held.
  std::set<int> keysDown_;
};
