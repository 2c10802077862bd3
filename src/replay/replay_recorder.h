#pragma once
// Records a game as it runs: a pump tap that only watches, and the session's reports of
// what else reached the world (level files, joystick polls, passes, the end).
#include <cstdint>

#include "replay/pump_calls.h"
#include "replay/replay.h"
#include "ui/pump_tap.h"

struct Game;

class ReplayRecorder : public PumpTap {
 public:
  explicit ReplayRecorder(const ReplaySettings& settings);

  // The main loop begins its next pass (the first is pass 1).
  void PassBegins(const Game& game);
  void LevelLoaded(int index, const Sha256Digest& digest);
  void JoystickPolled(int player, bool ok, const JoystickReading& reading);
  void LevelAdvanced() { levelFinished_ = true; }
  // The game returned to the menu: its state now is its final state.
  void EndedAtMenu(const Game& game);
  // The program is closing in the middle of a pass: the replay ends where the pass
  // began, the last point a player of it can reach again.
  void EndedByClosing(const Game& game);
  bool Ended() const { return ended_; }
  const Replay& Result() const { return replay_; }
  // Settings learnt as the game starts (its seed, the joysticks that opened).
  ReplaySettings& Settings() { return replay_.settings; }

  void PumpBegins(bool fromWait, std::deque<InputEvent>& replayed) override;
  void PumpEnds() override { calls_.End(); }
  bool Admit(const InputEvent&) override { return true; }
  void Dispatching(const InputEvent& e) override;
  bool TimerFires(int id, bool due) override;
  bool WaitGoesOn(bool timeLeft) override { return timeLeft; }

 private:
  void Finish(const Game& game, ReplayEnding how, PumpStamp at, uint64_t hash, std::array<int32_t, 2> points);

  Replay replay_;
  PumpCalls calls_;
  uint64_t passStartHash_ = 0;
  std::array<int32_t, 2> passStartPoints_{0, 0};
  std::array<uint32_t, 2> polls_{0, 0};
  bool levelFinished_ = false;
  bool ended_ = false;
};
