#include "shell/main_window.h"

#include "base/files.h"
#include "base/keys.h"
#include "play/player_control.h"
#include "screens/help.h"
#include "screens/high_scores.h"
#include "screens/options.h"
#include "screens/menu_art.h"

namespace {
constexpr Color DarkBlue{1, 0, 51};
constexpr Color MenuRed{224, 0, 0};
constexpr Color KeyBlue{0, 0, 255};
}  // namespace

TMainForm::TMainForm(App& application, AudioDoor& audio)
    : Form(application, "MainForm", 632, 453, DarkBlue), game(*this), sounds(audio), music(audio) {
  DirLbl = &Add<Label>("DirLbl", 0, 0, 0, 0);
  DirLbl->visible = false;
  // The working directory already ends in a slash.
  DirLbl->text = CurrentDirectoryWithSlash();
  game.StartDirectory = DirLbl->text;
  music.ShowError = [this](const std::string& text) { ShowError(text); };

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

  WarpTimer = &app.CreateTimer();
  WarpTimer->onTimer = [this] { WarpTimerTimer(); };
  GameOverTimer = &app.CreateTimer();
  GameOverTimer->onTimer = [this] { GameOverTimerTimer(); };
}

TMainForm::~TMainForm() = default;

void TMainForm::ConnectScreens(TOptionsForm& options, THScoreForm& scores, TNameForm& nameDialog,
                               THelpForm& help) {
  options_ = &options;
  scores_ = &scores;
  name_ = &nameDialog;
  help_ = &help;
  scores.nameDialog = &nameDialog;
  for (ScreenForm* s : std::initializer_list<ScreenForm*>{&options, &scores, &nameDialog, &help}) {
    s->showTitleMenu = [this] { ShowTitleMenu(); };
    s->captureScreen = [this](Form& f) { CaptureScreen(f); };
  }
  help.tilePicture = [this](int code) -> const Image& {
    static const Image none;
    return code >= 0 && code < static_cast<int>(A.size()) && A[code] ? A[code]->image : none;
  };
}

void TMainForm::CreateTileHolders() {
  ScrollBox1 = &Add<Panel>("ScrollBox1", 0, 0, 32, 32);
  ScrollBox1->visible = false;
  for (int code = 0; code <= 98; ++code) {
    if (!HasTilePicture(code)) continue;
    char holder[8];
    std::snprintf(holder, sizeof holder, "A%02d", code);
    A[code] = &Add<Picture>(holder, 0, 0, 32, 32, ScrollBox1);
  }
}

void TMainForm::BuildTitleMenu() {
  MenuBox = &Add<Panel>("MenuBox", 51, 31, 690, 500);
  MenuBox->background = Black;
  MenuBox->visible = false;

  auto picture = [&](const char* id, int left, int top, int w, int h, Image image) -> Picture& {
    Picture& p = Add<Picture>(id, left, top, w, h, MenuBox);
    p.image = std::move(image);
    p.stretch = true;
    return p;
  };
  auto caption = [&](const char* id, const std::string& text, int left, int top, int px,
                     Color color) -> Label& {
    Label& l = Add<Label>(id, left, top, 0, 0, MenuBox);
    l.font = FontSpec{FontFace::Title, px, true, false};
    l.color = color;
    l.transparent = true;
    l.SetText(text);
    return l;
  };
  auto clickable = [](Picture& p, std::function<void()> action) {
    p.cursor = CursorKind::Hand;
    p.onClick = std::move(action);
  };

  picture("TitleImage", 0, 8, 690, 150, MakeTitlePicture(690, 150));
  picture("SecondImage", 0, 164, 690, 64, MakeSecondPicture(690, 64));

  RandomImage = &picture("RandomImage", 24, 240, 317, 54, MakeButton(317, 54));
  StartImage = &picture("StartImage", 24, 296, 317, 54, MakeButton(317, 54));
  LevelImage = &picture("LevelImage", 24, 352, 317, 54, MakeLevelSelector(317, 54));
  LevelDownImage = &picture("LevelDownImage", 33, 358, 42, 42, MakeArrow(false, 42));
  LevelUpImage = &picture("LevelUpImage", 288, 358, 42, 42, MakeArrow(true, 42));
  OptionsImage = &picture("OptionsImage", 347, 240, 157, 54, MakeButton(157, 54));
  ScoresImage = &picture("ScoresImage", 347, 296, 157, 54, MakeButton(157, 54));
  PlayersImage = &picture("PlayersImage", 347, 352, 317, 54, MakeButton(317, 54));
  HelpImage = &picture("HelpImage", 507, 240, 157, 54, MakeButton(157, 54));
  QuitImage = &picture("QuitImage", 507, 296, 157, 54, MakeButton(157, 54));

  caption("RandomCaption", "Random Level", 94, 246, 29, MenuRed);
  caption("RandomKey", "F1", 36, 262, 13, KeyBlue);
  caption("StartCaption", "Start Game", 100, 302, 29, MenuRed);
  caption("StartKey", "F2", 36, 318, 13, KeyBlue);
  caption("LevelCaption", "Level", 122, 358, 29, MenuRed);
  LevelLbl = &caption("LevelLbl", "0", 223, 359, 29, MenuRed);
  caption("LevelDownKey", "F5", 68, 358, 13, KeyBlue);
  caption("LevelUpKey", "F6", 278, 380, 13, KeyBlue);
  caption("OptionsCaption", "Options", 390, 246, 29, MenuRed);
  caption("OptionsKey", "F10", 356, 262, 13, KeyBlue);
  caption("ScoresCaption", "Scores", 394, 302, 29, MenuRed);
  caption("ScoresKey", "F11", 356, 318, 13, KeyBlue);
  caption("PlayersCaption", "Players", 435, 358, 29, MenuRed);
  NumPlayersLbl = &caption("NumPlayersLbl", "1", 567, 359, 29, MenuRed);
  caption("PlayersKey", "F7", 356, 374, 13, KeyBlue);
  caption("HelpCaption", "Help", 557, 246, 29, MenuRed);
  caption("HelpKey", "F12", 517, 262, 13, KeyBlue);
  caption("QuitCaption", "Quit", 556, 302, 29, MenuRed);
  caption("QuitKey", "ESC", 517, 318, 13, KeyBlue);

  Label& credit = Add<Label>("CreditLbl", 0, 440, 690, 20, MenuBox);
  credit.font = FontSpec{FontFace::Title, 13, true, false};
  credit.color = Color{0, 128, 128};
  credit.align = Align::Center;
  credit.autoSize = false;
  credit.SetText("Version 1.0  -  pictures, levels and tunes made by the TROK Mirel team");

  clickable(*RandomImage, [this] { StartRandomLevel(); });
  clickable(*StartImage, [this] { StartSelectedLevel(); });
  clickable(*OptionsImage, [this] { ShowOptionsScreen(); });
  clickable(*ScoresImage, [this] { ShowScoresScreen(); });
  clickable(*PlayersImage, [this] { TogglePlayers(); });
  clickable(*HelpImage, [this] { ShowHelpScreen(); });
  clickable(*QuitImage, [this] { AskQuit(); });
  for (Picture* arrow : {LevelDownImage, LevelUpImage}) {
    const int delta = arrow == LevelUpImage ? +1 : -1;
    arrow->cursor = CursorKind::Hand;
    arrow->onMouseDown = [this, arrow, delta](MouseButton b, int, int) {
      ArrowMouseDown(*arrow, delta, b);
    };
    arrow->onMouseUp = [this, arrow](MouseButton, int, int) { ReleaseArrow(*arrow); };
  }
}

void TMainForm::FormKeyPress(char /*c*/) {
  if (StartupBegun) return;
  StartupBegun = true;
  if (!StartUp()) app.MessageBox(BoxKind::Error, "Error initializing game.");
  WelcomeLbl->visible = false;
  MenuBox->visible = true;
  Invalidate();
}

void TMainForm::FormKeyDown(int vk) {
  if (InTitleMenu()) {
    if (vk == VK::F5 || vk == VK::Down) {
      if (LevelDownImage->tag == 0) LevelDown();
    } else if (vk == VK::F6 || vk == VK::Up) {
      if (LevelUpImage->tag == 0) LevelUp();
    }
    return;
  }
  if (!InGame()) return;
  if (vk == VK::Escape) HandleAbortQuestion();
  if (game.Player1.UsesKeyboard) KeyPressed(game, vk, game.Player1);
  if (game.PlayerCount == 2 && game.Player2.UsesKeyboard) KeyPressed(game, vk, game.Player2);
}

void TMainForm::FormKeyUp(int vk) {
  if (vk == VK::PrintScreen) CaptureScreen(*this);
  if (InTitleMenu()) {
    switch (vk) {
      case VK::F1: StartRandomLevel(); break;
      case VK::F2: StartSelectedLevel(); break;
      case VK::F5:
      case VK::Down: ReleaseArrow(*LevelDownImage); break;
      case VK::F6:
      case VK::Up: ReleaseArrow(*LevelUpImage); break;
      case VK::F7: TogglePlayers(); break;
      case VK::F10: ShowOptionsScreen(); break;
      case VK::F11: ShowScoresScreen(); break;
      case VK::F12: ShowHelpScreen(); break;
      case VK::Escape: AskQuit(); break;
      default: break;
    }
    return;
  }
  if (!InGame()) return;
  if (game.Player1.UsesKeyboard) KeyReleased(game, vk, game.Player1);
  if (game.PlayerCount == 2 && game.Player2.UsesKeyboard) KeyReleased(game, vk, game.Player2);
}

void TMainForm::FormClose() { QuitProgram(); }

int TMainForm::Random(int k) {
  if (k <= 0) return 0;
  return static_cast<int>(rng_() & 0x7fffffffu) % k;
}

void TMainForm::ShowError(const std::string& text) { app.MessageBox(BoxKind::Error, text); }

void TMainForm::SetLevelTitle(const std::string& text) {
  LevelTitleLbl->SetText(text);
  Invalidate();
}

bool TMainForm::PollJoystick(int player, JoystickReading& reading) {
  return input.PollJoystick(player, reading);
}
