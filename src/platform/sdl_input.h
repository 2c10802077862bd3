#pragma once
// SDL's events in the game's terms: virtual keys, typed characters, mouse positions on
// the logical screen, and the close request.
#include <cstdint>
#include <deque>
#include <set>

#include "platform/events.h"

class Window;
union SDL_Event;

class SdlInput {
 public:
  // Made on the thread that waits for input.
  explicit SdlInput(Window& window);
  // Appends every pending event; never waits. Asks SDL only when something may have
  // come: the display connection is readable, SDL holds events, the window talked to
  // the server since (PumpNextTime), or a while passed (devices plugged in).
  void Poll(std::deque<InputEvent>& out);
  // The window just exchanged requests with the display server, whose replies may
  // have brought events along.
  void PumpNextTime() { pumpDue_ = true; }
  // Waits up to `timeoutMicros` for input and appends what came; appends nothing on a
  // timeout. Ends on the microsecond, so a wait needs no second sleep to end exactly.
  void Wait(uint64_t timeoutMicros, std::deque<InputEvent>& out);

 private:
  void Translate(const SDL_Event& ev, std::deque<InputEvent>& out);
  void TranslateKey(const SDL_Event& ev, std::deque<InputEvent>& out);
  void TranslateWindowEvent(const SDL_Event& ev, std::deque<InputEvent>& out);
  bool PumpNeeded();
  int DisplayConnection();

  Window& window_;
  // Keys released while another window had the keyboard would stay held.
  std::set<int> keysDown_;
  bool pumpDue_ = true;
  uint64_t lastPumpMs_ = 0;
  uint64_t lastLookMs_ = 0;
  int displayConnection_ = -1;
};
