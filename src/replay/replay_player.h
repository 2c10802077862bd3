#pragma once
// Plays a recorded game into the program: a pump tap that hands each pump call the input
// recorded for it, fires the game's timers where they fired, and answers joystick polls
// with the recorded readings. It checks the game against the recorded state checks and
// tells where it first went its own way.
#include <cstdint>
#include <optional>

#include "replay/pump_calls.h"
#include "replay/replay.h"
#include "ui/pump_tap.h"

struct Game;

struct ReplayDesync {
  uint32_t pass = 0;
  uint64_t expected = 0;
  uint64_t got = 0;
};

// What a player watching does with the keys while a replay plays.
struct ReplayControls {
  bool paused = false;
  bool fast = false;      // Tab held: four times as fast
  bool stopAsked = false;  // Escape: back to the title menu
  int capturesAsked = 0;   // Print Screen
};

class ReplayPlayer : public PumpTap {
 public:
  // `paced`: the game's waits last their time, as when watching; otherwise they end
  // once their recorded input is in, as fast as the machine allows.
  ReplayPlayer(const Replay& replay, bool paced);

  const Replay& Recorded() const { return replay_; }
  // The main loop begins its next pass; false once the recording ends before it (the
  // program was closed there), after checking the state against the recorded end.
  bool PassBegins(const Game& game);
  // The recorded result of the player's next joystick poll.
  bool JoystickPoll(int player, JoystickReading& reading);
  // The game returned to the menu: checks the final state.
  void EndedAtMenu(const Game& game);
  bool Finished() const { return finished_; }
  uint32_t Pass() const { return calls_.Latest().pass; }
  // Where the game first differed from the recording.
  const std::optional<ReplayDesync>& Desync() const { return desync_; }
  uint64_t FinalHash() const { return finalHash_; }
  const ReplayControls& Controls() const { return controls_; }

  void PumpBegins(bool fromWait, std::deque<InputEvent>& replayed) override;
  void PumpEnds() override { calls_.End(); }
  bool Admit(const InputEvent& e) override;
  void Dispatching(const InputEvent&) override {}
  bool TimerFires(int id, bool due) override;
  bool WaitGoesOn(bool timeLeft) override;

 private:
  bool ItemsLeftInPass() const;
  void Check(uint32_t pass, uint64_t expected, uint64_t got);

  Replay replay_;
  bool paced_;
  PumpCalls calls_;
  std::size_t next_ = 0;       // the next item to hand over
  std::size_t nextCheck_ = 0;  // the next state check
  std::array<std::size_t, 2> nextSample_{0, 0};
  std::array<uint32_t, 2> polls_{0, 0};
  std::optional<ReplayDesync> desync_;
  uint64_t finalHash_ = 0;
  bool finished_ = false;
  ReplayControls controls_;
};
