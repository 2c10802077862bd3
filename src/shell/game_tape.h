#pragma once
// The tape of the running game: its recording, or the replay that drives it instead of
// the player. The session tells it what reaches the world besides the message pump
// (the seed, level files, joystick polls, passes, the end), and asks it in playback.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "replay/replay_player.h"
#include "replay/replay_recorder.h"

class App;
struct Game;

class GameTape {
 public:
  explicit GameTape(App& app) : app_(app) {}
  ~GameTape();

  // A game begins: recorded with these settings, or played back from `replay`.
  void Record(const ReplaySettings& settings);
  void Play(const Replay& replay, bool paced);
  bool Playing() const { return running_ && player_; }
  // The playback running or, after it, the last one.
  const ReplayPlayer* Player() const { return player_.get(); }

  // What earlier games of the run left in the game's state: kept by a recording,
  // restored by a playback.
  void Carry(Game& game);
  // The seed of the game's generator: the given one, or the recorded one in playback.
  uint32_t Seed(uint32_t seed);
  void LevelLoaded(int index, const std::string& fileName);
  void LevelAdvanced();
  // False when a playback has reached the end of its recording before this pass.
  bool PassBegins(const Game& game);
  // Player's joystick: polled through `poll` and recorded, or as recorded.
  bool PollJoystick(int player, JoystickReading& reading, const std::function<bool(JoystickReading&)>& poll);
  // Whether the joystick chosen for a player opened when the game was recorded.
  std::optional<bool> RecordedJoystickOpened(int player) const;
  void JoystickOpened(int player, bool opened);
  void EndedAtMenu(const Game& game);
  // After the main loop: the whole recording (none when the game never got to its
  // first pass, or in playback). The tape is empty again.
  std::optional<Replay> Finish(const Game& game);

 private:
  void Detach();

  App& app_;
  std::unique_ptr<ReplayRecorder> recorder_;
  std::unique_ptr<ReplayPlayer> player_;
  ReplaySettings settings_;
  bool reachedFirstPass_ = false;
  bool running_ = false;
};
