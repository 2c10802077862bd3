#pragma once
// The main window: welcome text, title menu and game screen. It owns its controls and
// routes its keys and clicks: to the title menu, to the running game, to start-up and
// quit. The game itself is run by the game session.
#include <array>
#include <optional>
#include <string>

#include "ui/app.h"
#include "ui/form.h"
#include "shell/status_panel_view.h"

class TitleMenu;
class GameSession;
class ProgramStartup;

constexpr int RoomOriginX = 80;
constexpr int RoomOriginY = 64;

class TMainForm : public Form {
 public:
  explicit TMainForm(App& app);
  ~TMainForm() override;

  // Where the keys and clicks go; made after the window, connected once.
  void Connect(TitleMenu& menu, GameSession& session, ProgramStartup& startup);

  void FormKeyDown(int vk) override;
  void FormKeyUp(int vk) override;
  void FormKeyPress(char c) override;
  void FormPaint() override;
  void FormClose() override;

  // Saves what `window` shows as the next free CaptureNNN.bmp of the start directory.
  void CaptureScreen(Form& window);

  // The start directory with a trailing slash: the working directory at start-up.
  const std::string& StartDirectory() const { return startDirectory_; }
  bool WelcomeShown() const { return WelcomeLbl->visible; }
  bool InTitleMenu() const { return MenuBox->visible && !WelcomeLbl->visible; }
  bool InGame() const { return !MenuBox->visible && !WelcomeLbl->visible; }

  // What the title menu has chosen; LevelLbl and NumPlayersLbl show it.
  struct TitleSelection {
    // None only when a caption was set to something that is no number from outside
    // the menu (the headless program's callers); the caption then keeps that text.
    std::optional<int> level = 0;
    int players = 1;
  };
  const TitleSelection& Selection() const { return selection_; }
  void SelectLevel(int level);
  void SelectPlayers(int players);
  // A caption's own text, as the headless program's callers set it.
  void SelectLevelCaption(const std::string& text);
  void SelectPlayersCaption(const std::string& text);

  // The title menu: the level and player choices, and the level arrows (the menu
  // knows which is held).
  Panel* MenuBox = nullptr;
  Label* LevelLbl = nullptr;
  Label* NumPlayersLbl = nullptr;
  Picture* LevelDownImage = nullptr;
  Picture* LevelUpImage = nullptr;
  // The game screen: tile holders A00 .. A98 (codes without a picture stay empty), the
  // level title, the status panels and the game's two timers.
  std::array<Picture*, 99> A{};
  Label* LevelTitleLbl = nullptr;
  StatusPanelView Player1InfoBox;
  StatusPanelView Player2InfoBox;
  Timer* WarpTimer = nullptr;
  Timer* GameOverTimer = nullptr;
  // A network game's line under the title menu (the connection) and under the game (a
  // wait for the other player); hidden otherwise.
  Label* NetLbl = nullptr;

 private:
  void BuildTitleMenu();
  void CreateTileHolders();

  std::string startDirectory_;
  TitleSelection selection_;
  Label* WelcomeLbl = nullptr;
  Label* ListVersionLbl = nullptr;
  Panel* ScrollBox1 = nullptr;
  Picture* RandomImage = nullptr;
  Picture* StartImage = nullptr;
  Picture* LevelImage = nullptr;
  Picture* OptionsImage = nullptr;
  Picture* ScoresImage = nullptr;
  Picture* PlayersImage = nullptr;
  Picture* HelpImage = nullptr;
  Picture* QuitImage = nullptr;
  TitleMenu* menu_ = nullptr;
  GameSession* session_ = nullptr;
  ProgramStartup* startup_ = nullptr;
};
