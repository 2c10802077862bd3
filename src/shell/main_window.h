#pragma once
// The main window: welcome text, title menu and game screen. It owns the whole game
// state for the run of the program and is the host the world and players talk to.
#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "ui/app.h"
#include "ui/form.h"
#include "shell/input_devices.h"
#include "shell/status_panel_view.h"
#include "play/game.h"

class TOptionsForm;
class THScoreForm;
class TNameForm;
class THelpForm;

constexpr int RoomOriginX = 80;
constexpr int RoomOriginY = 64;
constexpr int WarpDelayMs = 3800;
constexpr int GameOverDelayMs = 3100;

class TMainForm : public Form, public GameHost {
 public:
  TMainForm(App& app, AudioDoor& audio);
  ~TMainForm() override;

  // The other windows, created after this one by the program entry.
  void ConnectScreens(TOptionsForm& options, THScoreForm& scores, TNameForm& name,
                      THelpForm& help);
  // A fixed seed replaces the clock seed at every game start (the headless driver).
  void UseFixedSeed(uint32_t seed) { fixedSeed_ = seed; }

  // Start-up and quit.
  bool StartUp();
  void QuitProgram();
  void AskQuit();
  // Title menu.
  void StartSelectedLevel();
  void StartRandomLevel();
  void LevelUp();
  void LevelDown();
  void TogglePlayers();
  void ShowOptionsScreen();
  void ShowScoresScreen();
  void ShowHelpScreen();
  void ShowTitleMenu();
  // Game run.
  void BeginGame();
  void MainLoop();
  void ReturnToMenu();
  void WarpTimerTimer();
  void GameOverTimerTimer();
  // Display and drawing.
  bool SetUpDisplay();
  void ReleaseDisplay();
  void CaptureScreen(Form& window);
  bool LoadTileImages();

  // Handlers.
  void FormKeyDown(int vk) override;
  void FormKeyUp(int vk) override;
  void FormKeyPress(char c) override;
  void FormPaint() override;
  void FormClose() override;

  // The port of the world and player code.
  void DrawCell(int x, int y, int code) override;
  void DrawRoom() override;
  void ProcessMessages() override { app.ProcessMessages(); }
  void PlaySound(int soundNumber) override { sounds.PlaySound(soundNumber); }
  int Random(int k) override;
  void ShowError(const std::string& text) override;
  void SetLevelTitle(const std::string& text) override;
  bool PollJoystick(int player, JoystickReading& reading) override;

  Game game;
  SoundEffects sounds;
  Music music;
  InputDevices input;

  // Items of the window.
  Label* DirLbl = nullptr;
  Label* WelcomeLbl = nullptr;
  Panel* MenuBox = nullptr;
  Label* ListVersionLbl = nullptr;
  Panel* ScrollBox1 = nullptr;
  Label* LevelTitleLbl = nullptr;
  Label* LevelLbl = nullptr;
  Label* NumPlayersLbl = nullptr;
  Picture* RandomImage = nullptr;
  Picture* StartImage = nullptr;
  Picture* LevelImage = nullptr;
  Picture* LevelDownImage = nullptr;
  Picture* LevelUpImage = nullptr;
  Picture* OptionsImage = nullptr;
  Picture* ScoresImage = nullptr;
  Picture* PlayersImage = nullptr;
  Picture* HelpImage = nullptr;
  Picture* QuitImage = nullptr;
  // Tile holders A00 .. A98 (codes without a picture stay empty).
  std::array<Picture*, 99> A{};
  StatusPanelView Player1InfoBox;
  StatusPanelView Player2InfoBox;
  Timer* WarpTimer = nullptr;
  Timer* GameOverTimer = nullptr;

  // Run-time flags.
  bool StartupBegun = false;
  bool StartupDone = false;
  bool GameStopped = true;
  bool AbortQuestionOpen = false;
  bool WarpSeen1 = false;
  bool WarpSeen2 = false;

  // The start directory with a trailing slash (DirLbl's text).
  const std::string& StartDirectory() const { return DirLbl->text; }
  bool InTitleMenu() const { return MenuBox->visible && !WelcomeLbl->visible; }
  bool InGame() const { return !MenuBox->visible && !WelcomeLbl->visible; }

 private:
  void BuildTitleMenu();
  void CreateTileHolders();
  // One step of a level arrow; false when the label held no number.
  bool StepLevel(int delta);
  void RepeatWhileHeld(Picture& arrow, int delta);
  void ArrowMouseDown(Picture& arrow, int delta, MouseButton button);
  void ReleaseArrow(Picture& arrow);
  void HandleAbortQuestion();
  void RefreshStatusPanels();
  bool DrawRoomCells();

  TOptionsForm* options_ = nullptr;
  THScoreForm* scores_ = nullptr;
  TNameForm* name_ = nullptr;
  THelpForm* help_ = nullptr;
  std::mt19937 rng_;
  std::optional<uint32_t> fixedSeed_;
  bool displaySetUp_ = false;
  // Bumped by every game start, so a loop left on the stack by an earlier game ends.
  uint32_t gameGeneration_ = 0;
};
