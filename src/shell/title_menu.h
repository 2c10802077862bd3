#pragma once
// The title menu's actions: level selection with hold-to-repeat arrows, the player
// count, the other screens, starting a game and the quit question. The main window
// routes its keys and clicks here.
#include <cstdint>

class App;
class TMainForm;
class GameSession;
class ProgramStartup;
class TOptionsForm;
class THScoreForm;
class THelpForm;
class NetPlay;

enum class LevelArrow : uint8_t { Down, Up };

class TitleMenu {
 public:
  TitleMenu(App& app, TMainForm& window, GameSession& session, ProgramStartup& startup,
            TOptionsForm& options, THScoreForm& scores, THelpForm& help);

  void StartSelectedLevel();
  void StartRandomLevel();
  // Step while the arrow (or its key) is held: once, again after about 210 ms, then
  // about every 35 ms.
  void LevelUp();
  void LevelDown();
  // The arrow's button or key was released.
  void ReleaseArrow(LevelArrow arrow) { held_[Index(arrow)] = false; }
  // Between its press and its release: a second press steps nothing.
  bool Held(LevelArrow arrow) const { return held_[Index(arrow)]; }
  void TogglePlayers();
  void ShowOptionsScreen();
  void ShowScoresScreen();
  void ShowHelpScreen();
  // The way back from the other screens.
  void ShowTitleMenu();
  void AskQuit();
  // In a network game Start Game and Random Level start the game on both machines.
  void SetNetPlay(NetPlay* net) { net_ = net; }

 private:
  // One step of a level arrow; false when the label held no number.
  bool StepLevel(int delta);
  void RepeatWhileHeld(LevelArrow arrow, int delta);
  static int Index(LevelArrow arrow) { return arrow == LevelArrow::Up ? 1 : 0; }

  App& app_;
  TMainForm& window_;
  GameSession& session_;
  ProgramStartup& startup_;
  TOptionsForm& options_;
  THScoreForm& scores_;
  THelpForm& help_;
  NetPlay* net_ = nullptr;
  bool held_[2] = {false, false};
};
