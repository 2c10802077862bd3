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
class Lockstep;
struct Game;

class GameTape {
 public:
  explicit GameTape(App& app) : app_(app) {}
  ~GameTape();

  // A game begins: recorded with these settings, or played back from `replay`.
  void Record(const ReplaySettings& settings);
  void Play(const Replay& replay, bool paced);
  // A game of a network game begins: recorded with the settings both machines agreed
  // on; `lockstep` stands between the message pump and the recorder.
  void RecordNetworked(const ReplaySettings& settings, Lockstep& lockstep);
  bool Playing() const { return running_ && player_; }
  bool Networked() const { return running_ && lockstep_; }
  // The settings the game takes instead of the options' (a playback's, a network
  // game's); null for a game of the options.
  const ReplaySettings* Imposed() const;
  // The playback running or, after it, the last one.
  const ReplayPlayer* Player() const { return player_.get(); }

  // What earlier games of the run left in the game's state: kept by a recording,
  // restored from the imposed settings.
  void Carry(Game& game);
  // The seed of the game's generator: the given one, or the imposed one.
  uint32_t Seed(uint32_t seed);
  void LevelLoaded(int index, const std::string& fileName);
  void LevelAdvanced();
  // False when a playback has reached the end of its recording before this pass.
  bool PassBegins(const Game& game);
  // Player's joystick: polled through `poll` and recorded, or as recorded.
  bool PollJoystick(int player, JoystickReading& reading, const std::function<bool(JoystickReading&)>& poll);
  // Whether the joystick chosen for a player opened, as the imposed settings say.
  std::optional<bool> RecordedJoystickOpened(int player) const;
  void JoystickOpened(int player, bool opened);
  void EndedAtMenu(const Game& game);
  // A network game ends where the next pass would begin, as it does on the other machine.
  void EndedBeforePass(const Game& game);
  // What the next game would take over from the games before it, as `game` holds it.
  static CarriedState CarriedOf(const Game& game);
  // After the main loop: the whole recording (none when the game never got to its
  // first pass, or in playback). The tape is empty again.
  std::optional<Replay> Finish(const Game& game);

 private:
  void Detach();

  App& app_;
  std::unique_ptr<ReplayRecorder> recorder_;
  std::unique_ptr<ReplayPlayer> player_;
  Lockstep* lockstep_ = nullptr;
  ReplaySettings settings_;
  bool reachedFirstPass_ = false;
  bool running_ = false;
};
