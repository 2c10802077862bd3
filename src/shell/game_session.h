#pragma once
// A game from Start Game to the title menu: BeginGame, the main loop, the warp and
// game-over timers, the abort question and ReturnToMenu. The session owns the state
// of play and the run-time flags of a game, and is the host the world and the players
// act through: it draws the room on the main window, plays their sounds, polls their
// joysticks and throws their dice.
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "play/game.h"
#include "replay/replay.h"
#include "screens/options_file.h"
#include "shell/game_tape.h"

class App;
class TMainForm;
class TOptionsForm;
class THScoreForm;
class SoundEffects;
class Music;
class InputDevices;
class Lockstep;

constexpr int WarpDelayMs = 3800;
constexpr int GameOverDelayMs = 3100;

class GameSession : public GameHost {
 public:
  // Made with the main window, before the other screens.
  GameSession(App& app, TMainForm& window, SoundEffects& sounds, Music& music, InputDevices& input);
  // The screens a game reads its settings from and ends on.
  void ConnectScreens(TOptionsForm& options, THScoreForm& scores);

  // Runs a whole game; returns when it has ended. LevelIndex and RandomLevels are set.
  // The game is recorded.
  void BeginGame();
  // Plays a recorded game instead of the player: with `paced` at its speed in the
  // window (Pause, Tab held four times as fast, Escape ends it), otherwise as fast as
  // it goes. The high-score screen is not shown at its end.
  void PlayBack(const Replay& replay, bool paced);
  // The playback of the last game played back; none before.
  const ReplayPlayer* LastPlayback() const { return tape_.Player(); }

  // A network game on this machine, with the settings both machines agreed on: its
  // input comes and goes through `lockstep`; `beforePass` runs before each pass of the
  // main loop (it waits for the other machine, and false means the game has ended);
  // `atEnd` runs once the game is back at the title menu, before it is kept.
  struct NetGame {
    std::function<bool(const std::function<bool()>& over)> beforePass;
    std::function<void()> atEnd;
    bool keepForReport = false;  // set by atEnd: the games went apart
  };
  void BeginNetGame(const ReplaySettings& settings, Lockstep& lockstep, NetGame& net);
  // The settings a network game started here from the title menu would have (the
  // level chosen, the options' speed, the seed, what earlier games left), before the
  // joysticks are known.
  ReplaySettings NetGameSettings();
  // Ends a network game where its next pass would begin, as the other machine does.
  void EndNetGameBeforePass();
  // The results of the game just ended go to the high-score table (its screen shows),
  // as at a game's end.
  void EnterResults();

  // Told of every finished recording, with whether a player's result entered the
  // high-score table and whether it is kept for a bug report (a network game whose
  // two machines went apart).
  std::function<void(const Replay&, bool highScore, bool forReport)> onRecorded;
  void MainLoop();
  void ReturnToMenu();
  void WarpTimerTimer();
  void GameOverTimerTimer();
  // Escape during a game, while some player is in play.
  void HandleAbortQuestion();
  // Every key of a game, for each player on the keyboard.
  void KeyPressedByPlayers(int vk);
  void KeyReleasedByPlayers(int vk);

  // A fixed seed replaces the clock seed at every game start (the headless driver).
  void UseFixedSeed(uint32_t seed) { fixedSeed_ = seed; }
  uint32_t NewSeed();

  // The port of the world and player code.
  void DrawCell(int x, int y, int code) override;
  void DrawRoom() override;
  void ProcessMessages() override;
  void PlaySound(int soundNumber) override;
  int Random(int k) override;
  void ShowError(const std::string& text) override;
  void SetLevelTitle(const std::string& text) override;
  bool PollJoystick(int player, JoystickReading& reading) override;

  Game game;
  bool GameStopped = true;
  bool AbortQuestionOpen = false;
  bool WarpSeen1 = false;
  bool WarpSeen2 = false;

 private:
  // Opens the joystick chosen for each player; a failure leaves that player on the keyboard.
  void OpenJoysticks();
  // BeginGame's steps, once the game's tape runs.
  void StartAndRun();
  ReplaySettings RecordingSettings() const;
  void PlaybackPause(const std::function<bool()>& over);
  void RefreshStatusPanels();
  void DrawRoomCells();

  App& app_;
  TMainForm& window_;
  TOptionsForm* options_ = nullptr;
  THScoreForm* scores_ = nullptr;
  SoundEffects& sounds_;
  Music& music_;
  InputDevices& input_;
  // The settings of the running game, read once at its start.
  GameSettings settings_;
  std::mt19937 rng_;
  // The music's choice has its own dice, so that when a piece ends (a matter of the
  // sound device's timing) cannot change the game.
  std::mt19937 musicRng_;
  GameTape tape_;
  bool highScoreEntered_ = false;
  // Each player's record as the status panels last showed it: the high-score table
  // takes what the player saw, which can lag the record by up to two passes.
  struct ShownRecord {
    int32_t points = 0;
    int32_t levelsPassed = 0;
  };
  ShownRecord shown_[2];
  int capturesTaken_ = 0;
  std::optional<uint32_t> fixedSeed_;
  // Bumped by every game start, so a loop left on the stack by an earlier game ends.
  uint32_t gameGeneration_ = 0;
  // The network game running, if any.
  NetGame* net_ = nullptr;
};
