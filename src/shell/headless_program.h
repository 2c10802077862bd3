#pragma once
// The real program with no window, on virtual time, seen and driven as a player sees
// and drives it: the visible screen and its labels, the open boxes, the room and the
// player records, input at given virtual times, captures. The program tests and the
// headless driver reach the program only through this.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/image.h"
#include "shell/program.h"

class HeadlessProgram {
 public:
  // Without an audio door the program sounds through SDL (SDL's dummy driver in tests);
  // in real time it runs on the wall clock, as a run to listen to.
  explicit HeadlessProgram(std::unique_ptr<AudioDoor> audio = nullptr, bool realTime = false);

  // Makes the windows, as the program entry does; false with a reason. Input and
  // actions may be queued before, so that they reach the boxes shown meanwhile.
  bool Start(std::string& error);

  // ---- time and input (virtual milliseconds since construction) ----
  uint64_t Now() { return clock_.NowMs(); }
  // Processes messages for `ms` milliseconds, 1 ms sleeps in between.
  void RunFor(int ms);
  // Processes messages until the program ends; ended by a stop signal (a program
  // that called CatchStopSignals), it quits as the Quit item does.
  void RunToEnd();
  void Push(const InputEvent& e, uint64_t atMs);
  void Push(InputEvent::Type type, int vk, uint64_t atMs);
  // Key down at atMs, up 20 ms later.
  void PushKey(int vk, uint64_t atMs);
  void PushChar(char c, uint64_t atMs);
  // Mouse events at screen coordinates; a click is down at atMs and up 20 ms later.
  void PushMouse(InputEvent::Type type, int x, int y, uint64_t atMs, MouseButton button = MouseButton::Left);
  void PushClick(int x, int y, uint64_t atMs);
  // Runs `action` once at atMs, from inside whatever loop runs then.
  void At(uint64_t atMs, std::function<void()> action);
  // A timer of the program's own message pump.
  Timer& CreateTimer() { return program_.app.CreateTimer(); }
  // Every game started draws from this seed instead of the clock.
  void UseFixedSeed(uint32_t seed);
  void Quit() { program_.app.Terminate(); }
  bool Terminated() const { return program_.app.Terminated(); }

  // ---- what the player sees ----
  const Form* Visible() const { return program_.app.Visible(); }
  // The screen as shown, boxes included.
  Image Capture() const { return program_.app.ComposeScreen(); }
  const std::vector<std::string>& OpenBoxes() const { return program_.app.OpenBoxTexts(); }
  CursorKind Cursor() const { return program_.app.Cursor(); }
  // Full screen, or the resizable window Alt+Enter switches to (neither before the
  // display is switched at start-up).
  bool FullScreen() const { return program_.app.FullScreen(); }
  bool InWindow() const { return program_.app.InWindow(); }
  Form& MainWindow() { return *program_.mainForm; }
  TOptionsForm& Options() { return *program_.optionsForm; }
  THScoreForm& Scores() { return *program_.scoreForm; }
  TNameForm& NameDialog() { return *program_.nameForm; }
  THelpForm& Help() { return *program_.helpForm; }

  // The main window: welcome text, title menu, game screen.
  bool WelcomeShown() const { return program_.mainForm->WelcomeShown(); }
  bool InTitleMenu() const { return program_.mainForm->InTitleMenu(); }
  bool InGame() const { return program_.mainForm->InGame(); }
  bool MenuBoxShown() const { return program_.mainForm->MenuBox->visible; }
  // The title menu's level and player-count captions; setting one is as if it had
  // been chosen.
  const std::string& LevelLabel() const { return program_.mainForm->LevelLbl->text; }
  const std::string& PlayersLabel() const { return program_.mainForm->NumPlayersLbl->text; }
  void SetLevelLabel(const std::string& text) { program_.mainForm->SelectLevelCaption(text); }
  void SetPlayersLabel(const std::string& text) { program_.mainForm->SelectPlayersCaption(text); }
  // An arrow of the level selector is held (up or down).
  bool LevelArrowHeld(bool up) const;
  const Label& LevelTitle() const { return *program_.mainForm->LevelTitleLbl; }
  // The window's title, and the network game's line under the title menu or the game.
  const std::string& WindowTitle() const { return program_.app.Title(); }
  const Label& NetLine() const { return *program_.mainForm->NetLbl; }
  const StatusPanelView& StatusPanel(int player) const;
  // The picture in the tile holder of a cell code that has one (HasTilePicture).
  PictureImage& TilePicture(int code);

  // ---- the game ----
  Game& GameState() { return program_.session->game; }
  // Plays a recorded game (from within whatever loop runs when it is called).
  void PlayBack(const Replay& replay, bool paced) { program_.session->PlayBack(replay, paced); }
  const ReplayPlayer* LastPlayback() const { return program_.session->LastPlayback(); }
  bool GameStopped() const { return program_.session->GameStopped; }
  bool AbortQuestionOpen() const { return program_.session->AbortQuestionOpen; }
  void DrawRoom() { program_.session->DrawRoom(); }
  bool StartupBegun() const { return program_.startup->StartupBegun; }
  bool StartupDone() const { return program_.startup->StartupDone; }

  // ---- a network game ----
  // Hosts or joins one, as --host and --join do; false with a reason.
  bool OpenNetwork(const NetRequest& request, std::string& error) { return program_.OpenNetwork(request, error); }
  // Its side of it; null without one.
  NetPlay* Net() { return program_.net.get(); }

  // ---- what it plays and reads ----
  SoundEffects& SoundModule() { return program_.sounds; }
  AudioDoor& Audio() { return *program_.audio; }
  Music& MusicModule() { return program_.music; }
  const InputDevices& Input() const { return program_.input; }

 private:
  VirtualClock virtualClock_;
  RealClock realClock_;
  Clock& clock_;
  Program program_;
};
