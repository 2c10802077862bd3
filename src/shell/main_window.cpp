#include "shell/main_window.h"

#include <cstdio>

#include "base/files.h"
#include "base/keys.h"
#include "base/numbers.h"
#include "screens/high_score_table.h"
#include "screens/menu_art.h"
#include "screens/menu_builder.h"
#include "shell/game_session.h"
#include "shell/startup.h"
#include "shell/title_menu.h"
#include "world/tile_names.h"

namespace {
constexpr Color DarkBlue{1, 0, 51};
}  // namespace

TMainForm::TMainForm(App& application)
    : Form(application, "MainForm", 632, 453, DarkBlue),
      // The working directory already ends in a slash.
      startDirectory_(CurrentDirectoryWithSlash()) {
  WelcomeLbl = &Add<Label>("WelcomeLbl", 178, 206, 276, 40);
  WelcomeLbl->font = FontSpec{FontFace::Plain, 16, false, false};
  WelcomeLbl->color = White;
  WelcomeLbl->align = Align::Center;
  WelcomeLbl->wordWrap = true;
  WelcomeLbl->SetText("Welcome to TROK Mirel for Windows.  Press any key to start the game.");

  ListVersionLbl = &Add<Label>("ListVersionLbl", 0, 0, 0, 0);
  ListVersionLbl->visible = false;
  ListVersionLbl->text = HighScoreVersion;

  CreateTileHolders();
  BuildTitleMenu();

  LevelTitleLbl = &Add<Label>("LevelTitleLbl", 0, 32, 800, 30);
  LevelTitleLbl->font = FontSpec{FontFace::Title, 21, true, false};
  LevelTitleLbl->color = KeyBlue;
  LevelTitleLbl->align = Align::Center;
  LevelTitleLbl->autoSize = false;
  LevelTitleLbl->visible = false;
  LevelTitleLbl->SetText("Level 1 - Mystery");

  Player1InfoBox.Build(*this, 1, DarkBlue);
  Player2InfoBox.Build(*this, 2, DarkBlue);

  NetLbl = &Add<Label>("NetLbl", 0, 562, 800, 24);
  NetLbl->font = FontSpec{FontFace::Title, 15, true, false};
  NetLbl->color = White;
  NetLbl->align = Align::Center;
  NetLbl->autoSize = false;
  NetLbl->visible = false;

  WarpTimer = &app.CreateTimer();
  GameOverTimer = &app.CreateTimer();
}

TMainForm::~TMainForm() = default;

void TMainForm::CreateTileHolders() {
  ScrollBox1 = &Add<Panel>("ScrollBox1", 0, 0, 32, 32);
  ScrollBox1->visible = false;
  for (int code = 0; code < CellCodeCount; ++code) {
    if (!HasTilePicture(code)) continue;
    char holder[8];
    std::snprintf(holder, sizeof holder, "A%02d", code);
    A[code] = &Add<Picture>(holder, 0, 0, 32, 32, ScrollBox1);
  }
}

void TMainForm::SelectLevel(int level) {
  selection_.level = level;
  LevelLbl->SetText(std::to_string(level));
  Invalidate();
}

void TMainForm::SelectPlayers(int players) {
  selection_.players = players;
  NumPlayersLbl->SetText(std::to_string(players));
  Invalidate();
}

void TMainForm::SelectLevelCaption(const std::string& text) {
  int n = 0;
  selection_.level = ParseInt(text, n) ? std::optional<int>(n) : std::nullopt;
  LevelLbl->SetText(text);
  Invalidate();
}

void TMainForm::SelectPlayersCaption(const std::string& text) {
  // The menu toggles between one and two; any other caption counts as one.
  selection_.players = text == "2" ? 2 : 1;
  NumPlayersLbl->SetText(text);
  Invalidate();
}

void TMainForm::BuildTitleMenu() {
  MenuBox = &Add<Panel>("MenuBox", 51, 31, 690, 500);
  MenuBox->background = Black;
  MenuBox->visible = false;
  MenuBuilder menu(*this, MenuBox);

  menu.Art("TitleImage", 0, 8, 690, 150, [] { return MakeTitlePicture(690, 150); });
  menu.Art("SecondImage", 0, 164, 690, 64, [] { return MakeSecondPicture(690, 64); });

  RandomImage = &menu.Plate("RandomImage", 24, 240, 317, 54);
  StartImage = &menu.Plate("StartImage", 24, 296, 317, 54);
  LevelImage = &menu.Art("LevelImage", 24, 352, 317, 54, [] { return MakeLevelSelector(317, 54); });
  LevelDownImage = &menu.Art("LevelDownImage", 33, 358, 42, 42, [] { return MakeArrow(false, 42); });
  LevelUpImage = &menu.Art("LevelUpImage", 288, 358, 42, 42, [] { return MakeArrow(true, 42); });
  OptionsImage = &menu.Plate("OptionsImage", 347, 240, 157, 54);
  ScoresImage = &menu.Plate("ScoresImage", 347, 296, 157, 54);
  PlayersImage = &menu.Plate("PlayersImage", 347, 352, 317, 54);
  HelpImage = &menu.Plate("HelpImage", 507, 240, 157, 54);
  QuitImage = &menu.Plate("QuitImage", 507, 296, 157, 54);
  for (Picture* arrow : {LevelDownImage, LevelUpImage}) arrow->cursor = CursorKind::Hand;

  menu.Caption("RandomCaption", "Random Level", 94, 246, 29, MenuRed);
  menu.Caption("RandomKey", "F1", 36, 262, 13, KeyBlue);
  menu.Caption("StartCaption", "Start Game", 100, 302, 29, MenuRed);
  menu.Caption("StartKey", "F2", 36, 318, 13, KeyBlue);
  menu.Caption("LevelCaption", "Level", 122, 358, 29, MenuRed);
  LevelLbl = &menu.Caption("LevelLbl", "0", 223, 359, 29, MenuRed);
  menu.Caption("LevelDownKey", "F5", 68, 358, 13, KeyBlue);
  menu.Caption("LevelUpKey", "F6", 278, 380, 13, KeyBlue);
  menu.Caption("OptionsCaption", "Options", 390, 246, 29, MenuRed);
  menu.Caption("OptionsKey", "F10", 356, 262, 13, KeyBlue);
  menu.Caption("ScoresCaption", "Scores", 394, 302, 29, MenuRed);
  menu.Caption("ScoresKey", "F11", 356, 318, 13, KeyBlue);
  menu.Caption("PlayersCaption", "Players", 435, 358, 29, MenuRed);
  NumPlayersLbl = &menu.Caption("NumPlayersLbl", "1", 567, 359, 29, MenuRed);
  menu.Caption("PlayersKey", "F7", 356, 374, 13, KeyBlue);
  menu.Caption("HelpCaption", "Help", 557, 246, 29, MenuRed);
  menu.Caption("HelpKey", "F12", 517, 262, 13, KeyBlue);
  menu.Caption("QuitCaption", "Quit", 556, 302, 29, MenuRed);
  menu.Caption("QuitKey", "ESC", 517, 318, 13, KeyBlue);

  Label& credit = Add<Label>("CreditLbl", 0, 440, 690, 20, MenuBox);
  credit.font = FontSpec{FontFace::Title, 13, true, false};
  credit.color = Color{0, 128, 128};
  credit.align = Align::Center;
  credit.autoSize = false;
  credit.SetText("Version 1.0  -  pictures, levels and tunes made by the TROK Mirel team");
}

void TMainForm::Connect(TitleMenu& menu, GameSession& session, ProgramStartup& startup) {
  menu_ = &menu;
  session_ = &session;
  startup_ = &startup;
  RandomImage->onClick = [this] { menu_->StartRandomLevel(); };
  StartImage->onClick = [this] { menu_->StartSelectedLevel(); };
  OptionsImage->onClick = [this] { menu_->ShowOptionsScreen(); };
  ScoresImage->onClick = [this] { menu_->ShowScoresScreen(); };
  PlayersImage->onClick = [this] { menu_->TogglePlayers(); };
  HelpImage->onClick = [this] { menu_->ShowHelpScreen(); };
  QuitImage->onClick = [this] { menu_->AskQuit(); };
  // An arrow steps while the left button is held on it; a press on a held arrow is ignored.
  LevelDownImage->onMouseDown = [this](MouseButton b, int, int) {
    if (b == MouseButton::Left && !menu_->Held(LevelArrow::Down)) menu_->LevelDown();
  };
  LevelUpImage->onMouseDown = [this](MouseButton b, int, int) {
    if (b == MouseButton::Left && !menu_->Held(LevelArrow::Up)) menu_->LevelUp();
  };
  LevelDownImage->onMouseUp = [this](MouseButton, int, int) { menu_->ReleaseArrow(LevelArrow::Down); };
  LevelUpImage->onMouseUp = [this](MouseButton, int, int) { menu_->ReleaseArrow(LevelArrow::Up); };
}

void TMainForm::FormKeyPress(char /*c*/) {
  if (startup_->StartupBegun) return;
  startup_->StartupBegun = true;
  if (!startup_->StartUp()) app.MessageBox(BoxKind::Error, "Error initializing game.");
  WelcomeLbl->visible = false;
  MenuBox->visible = true;
  Invalidate();
}

void TMainForm::FormKeyDown(int vk) {
  if (InTitleMenu()) {
    // The keyboard's own repeat of a held arrow key steps nothing.
    if (vk == VK::F5 || vk == VK::Down) {
      if (!menu_->Held(LevelArrow::Down)) menu_->LevelDown();
    } else if (vk == VK::F6 || vk == VK::Up) {
      if (!menu_->Held(LevelArrow::Up)) menu_->LevelUp();
    }
    return;
  }
  if (!InGame()) return;
  if (vk == VK::Escape) session_->HandleAbortQuestion();
  session_->KeyPressedByPlayers(vk);
}

void TMainForm::FormKeyUp(int vk) {
  if (vk == VK::PrintScreen) CaptureScreen(*this);
  if (InTitleMenu()) {
    switch (vk) {
      case VK::F1: menu_->StartRandomLevel(); break;
      case VK::F2: menu_->StartSelectedLevel(); break;
      case VK::F5:
      case VK::Down: menu_->ReleaseArrow(LevelArrow::Down); break;
      case VK::F6:
      case VK::Up: menu_->ReleaseArrow(LevelArrow::Up); break;
      case VK::F7: menu_->TogglePlayers(); break;
      case VK::F10: menu_->ShowOptionsScreen(); break;
      case VK::F11: menu_->ShowScoresScreen(); break;
      case VK::F12: menu_->ShowHelpScreen(); break;
      case VK::Escape: menu_->AskQuit(); break;
      default: break;
    }
    return;
  }
  if (InGame()) session_->KeyReleasedByPlayers(vk);
}

void TMainForm::FormPaint() {
  if (!session_->GameStopped) session_->DrawRoom();
}

void TMainForm::FormClose() { startup_->QuitProgram(); }
