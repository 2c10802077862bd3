#pragma once
// A running game's view of the message pump, for recording it and playing it back:
// which pump call delivered which input and fired which game timer, and how long the
// game's waits last. Without a tap the pump runs as it always does; a recording tap
// only watches, so recording never changes what the program does.
#include <cstdint>
#include <deque>

#include "platform/events.h"

class PumpTap {
 public:
  virtual ~PumpTap() = default;
  // A ProcessMessages call begins. `fromWait` tells that the game's timed wait made it
  // directly (nothing of the game runs between such calls). Playback adds the input
  // recorded for this call to `replayed`.
  virtual void PumpBegins(bool fromWait, std::deque<InputEvent>& replayed) = 0;
  // That call ends (calls nest: handlers run loops of their own).
  virtual void PumpEnds() = 0;
  // Input from the window or a script, before the forms see it; false keeps it from
  // them (playback takes it for its own controls).
  virtual bool Admit(const InputEvent& e) = 0;
  // Input about to be handed to the forms.
  virtual void Dispatching(const InputEvent& e) = 0;
  // Whether game timer `id` fires in this call; `due` tells whether its time has come.
  virtual bool TimerFires(int id, bool due) = 0;
  // Whether the game's timed wait goes on; `timeLeft` tells whether its time has not
  // yet run out.
  virtual bool WaitGoesOn(bool timeLeft) = 0;
};
