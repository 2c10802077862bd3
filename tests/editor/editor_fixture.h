#pragma once
// The editor's window headless on virtual time, in a game directory of its own with
// copies of the shipped levels; the game's pictures are read from the built game. A
// recording stand-in plays levels.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/keys.h"
#include "base/trial_outcome.h"
#include "editor/editor_form.h"
#include "scratch_folder.h"
#include "ui/app.h"

// Plays nothing: notes what it was asked and what the game directory held then, and
// ends after a few polls leaving an outcome and, when it has one, a recorded game.
class RecordingPlayer : public LevelPlayer {
 public:
  struct Call {
    std::string dir;
    int players;
    std::string level;    // FELDS/FELD.00 then
    std::string options;  // Options.dat then
    bool objectsLinked;
    std::string watched;  // the replay file's bytes when a recorded game was to be shown
  };
  bool Start(const std::string& dir, int players, std::string& error) override;
  bool StartWatching(const std::string& dir, int players, const std::string& replayFile,
                     std::string& error) override;
  bool Ended() override;
  void Stop() override { ++stops; }

  std::vector<Call> calls;
  int stops = 0;
  int pollsToEnd = 3;
  TrialOutcome outcome{true, 42};
  bool refuse = false;
  // Left in the game directory's Replays folder by a game played, as the game keeps it.
  std::string replay;

 private:
  int polls_ = 0;
};

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Makes the editor (again); call before using `form`. It opens `level` first when
  // one is named, as from the command line.
  void OpenEditor(const std::string& level = "", const CheckBudget& checkBudget = {});
  void OpenEditor(const CheckBudget& checkBudget) { OpenEditor("", checkBudget); }
  // With `recording` (one made for the test) as the player.
  void OpenEditor(std::unique_ptr<RecordingPlayer> recording);
  // Where the editor works: the game directory, the built game's data, scratch games
  // in a folder of the test's own.
  EditorPlaces Places() const;
  // Passes of the message pump, a virtual millisecond apart; the longest in real time is
  // kept in `longestPass`, the most work one did on this thread in `longestPassCpuMs`.
  void Pump(int ms);
  // Pumps until the verdict for the level as it is has come from the checker's thread
  // (at most `seconds` of real time).
  void AwaitVerdict(int seconds = 300);
  void Key(int vk, bool control = false, bool shift = false);
  void Type(const std::string& text);
  void Click(int x, int y, MouseButton button = MouseButton::Left);
  void ClickCell(int cell, MouseButton button = MouseButton::Left);
  void DragCells(int from, int to);
  void ClickPlate(const std::string& caption);
  // Answers the next file dialog with `name` and Enter (its loop runs inside the command
  // that opens it, so the answer is queued first).
  void AnswerNextDialog(const std::string& name);
  // From now on, every box that opens is noted and answered: Enter takes the default
  // button (OK, Yes, or No where Yes would throw work away), otherwise `answer` (VK::N for No).
  void AnswerBoxes(int answer = VK::Enter);
  std::string Game(const std::string& name) const { return game_ / name; }
  // The folder the scratch games are made in.
  std::string Plays() const { return plays_.WithSlash(); }

  VirtualClock clock;
  App app{clock, true};
  std::unique_ptr<EditorForm> form;
  RecordingPlayer* player = nullptr;
  std::vector<std::string> boxes;  // texts of the boxes answered
  std::chrono::steady_clock::duration longestPass{};
  double longestPassCpuMs = 0;

 private:
  ScratchFolder game_;
  ScratchFolder plays_;
  Timer* answerer_ = nullptr;
  int answer_ = 0;
};
