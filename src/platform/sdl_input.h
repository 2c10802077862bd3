#pragma once
// SDL's events in the game's terms: virtual keys, typed characters, mouse positions on
// the logical screen, and the close request.
#include <deque>
#include <set>

#include "platform/events.h"

class Window;
union SDL_Event;

class SdlInput {
 public:
  explicit SdlInput(Window& window) : window_(window) {}
  // Appends every pending event; never waits.
  void Poll(std::deque<InputEvent>& out);
  // Waits up to `timeoutMs` for one event and appends it (the rest stay for Poll).
  void Wait(int timeoutMs, std::deque<InputEvent>& out);

 private:
  void Translate(const SDL_Event& ev, std::deque<InputEvent>& out);
  void TranslateKey(const SDL_Event& ev, std::deque<InputEvent>& out);
  void TranslateWindowEvent(const SDL_Event& ev, std::deque<InputEvent>& out);

  Window& window_;
  // Keys released while another window had the keyboard would stay held.
  std::set<int> keysDown_;
};
