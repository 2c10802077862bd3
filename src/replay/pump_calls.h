#pragma once
// The pump calls of a game as a recording numbers them: calls count up within a pass
// from 0, and nest (a handler's own loop pumps inside the call that dispatched it).
#include <cstdint>
#include <vector>

#include "replay/replay.h"

class PumpCalls {
 public:
  void PassBegins() {
    ++now_.pass;
    now_.pump = 0;
    begun_ = false;
    open_.clear();
  }
  void Begin() {
    if (begun_) ++now_.pump;
    begun_ = true;
    open_.push_back(now_);
  }
  // A call that is not counted (it changes nothing of the game).
  void Skip() { open_.push_back(Uncounted); }
  void End() {
    if (!open_.empty()) open_.pop_back();
  }
  // The call running now is one that was not counted.
  bool RunningUncounted() const { return !open_.empty() && open_.back() == Uncounted; }
  // The number of the latest call begun.
  PumpStamp Latest() const { return now_; }
  // The number of the call running now (the latest begun, when none runs).
  PumpStamp Running() const { return open_.empty() ? now_ : open_.back(); }
  // Whether the call running now began before the latest one (its nested calls are over).
  bool AfterNested() const { return !open_.empty() && open_.back() != now_; }

 private:
  static constexpr PumpStamp Uncounted{UINT32_MAX, UINT32_MAX};

  PumpStamp now_;
  bool begun_ = false;
  std::vector<PumpStamp> open_;
};
