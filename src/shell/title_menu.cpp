#include "shell/title_menu.h"

#include <string>

#include "base/numbers.h"
#include "screens/help.h"
#include "screens/high_scores.h"
#include "screens/options.h"
#include "shell/game_session.h"
#include "shell/main_window.h"
#include "shell/net_play.h"
#include "shell/startup.h"

TitleMenu::TitleMenu(App& app, TMainForm& window, GameSession& session, ProgramStartup& startup,
                     TOptionsForm& options, THScoreForm& scores, THelpForm& help)
    : app_(app),
      window_(window),
      session_(session),
      startup_(startup),
      options_(options),
      scores_(scores),
      help_(help) {}

bool TitleMenu::StepLevel(int delta) {
  Label& levelLbl = *window_.LevelLbl;
  const int levelCount = session_.game.LevelCount;
  int v = 0;
  if (!ParseInt(levelLbl.text, v)) {
    levelLbl.SetText("0");
    window_.Invalidate();
    return false;
  }
  int next;
  if (delta > 0)
    next = v < levelCount - 1 ? v + 1 : 0;
  else
    next = v <= 0 ? levelCount - 1 : v - 1;
  levelLbl.SetText(std::to_string(next));
  window_.Invalidate();
  return true;
}

void TitleMenu::RepeatWhileHeld(Picture& arrow, int delta) {
  arrow.tag = 1;
  if (!StepLevel(delta)) return;
  for (int i = 0; i < 210 && !app_.Terminated(); ++i) {
    app_.SleepMs(1);
    app_.ProcessMessages();
  }
  while (arrow.tag == 1 && !app_.Terminated()) {
    app_.ProcessMessages();
    if (arrow.tag != 1) break;
    if (!StepLevel(delta)) return;
    for (int i = 0; i < 35 && !app_.Terminated(); ++i) {
      app_.ProcessMessages();
      app_.SleepMs(1);
    }
  }
  app_.PresentIfDirty();
}

void TitleMenu::LevelUp() { RepeatWhileHeld(*window_.LevelUpImage, +1); }
void TitleMenu::LevelDown() { RepeatWhileHeld(*window_.LevelDownImage, -1); }
void TitleMenu::ReleaseArrow(Picture& arrow) { arrow.tag = 0; }

void TitleMenu::TogglePlayers() {
  Label& players = *window_.NumPlayersLbl;
  players.SetText(players.text == "1" ? "2" : "1");
  window_.Invalidate();
}

void TitleMenu::StartSelectedLevel() {
  app_.SetCursor(CursorKind::Hourglass);
  app_.ProcessMessages();
  int level = 0;
  if (!ParseInt(window_.LevelLbl->text, level)) {
    app_.MessageBox(BoxKind::Error, "'" + window_.LevelLbl->text + "' is not a valid integer value");
    window_.MenuBox->visible = true;
    app_.SetCursor(CursorKind::Hidden);
    return;
  }
  session_.game.LevelIndex = level;
  session_.game.RandomLevels = false;
  if (net_)
    net_->StartFromTitleMenu();
  else
    session_.BeginGame();
}

void TitleMenu::StartRandomLevel() {
  app_.SetCursor(CursorKind::Hourglass);
  app_.ProcessMessages();
  Game& game = session_.game;
  game.LevelIndex = game.LevelCount > 0 ? session_.Random(game.LevelCount) : 0;
  game.RandomLevels = true;
  if (net_)
    net_->StartFromTitleMenu();
  else
    session_.BeginGame();
}

void TitleMenu::ShowTitleMenu() {
  app_.Show(&window_);
  window_.Invalidate();
}

void TitleMenu::ShowOptionsScreen() {
  app_.Show(&options_);
  app_.Hide(&window_);
}

void TitleMenu::ShowHelpScreen() {
  app_.Show(&help_);
  app_.Hide(&window_);
}

void TitleMenu::ShowScoresScreen() {
  if (scores_.LoadHighScores()) scores_.ShowHighScores();
  app_.Show(&scores_);
  app_.Hide(&window_);
}

void TitleMenu::AskQuit() {
  if (app_.MessageBox(BoxKind::Confirmation, "Quit to system?") == BoxResult::Yes) startup_.QuitProgram();
}
