#include "shell/title_menu.h"

#include <optional>
#include <string>

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
  const int levelCount = session_.game.LevelCount;
  const std::optional<int> level = window_.Selection().level;
  if (!level) {
    window_.SelectLevel(0);
    return false;
  }
  const int v = *level;
  int next;
  if (delta > 0)
    next = v < levelCount - 1 ? v + 1 : 0;
  else
    next = v <= 0 ? levelCount - 1 : v - 1;
  window_.SelectLevel(next);
  return true;
}

void TitleMenu::RepeatWhileHeld(LevelArrow arrow, int delta) {
  bool& held = held_[Index(arrow)];
  held = true;
  if (!StepLevel(delta)) return;
  for (int i = 0; i < 210 && !app_.Terminated(); ++i) {
    app_.SleepMs(1);
    app_.ProcessMessages();
  }
  while (held && !app_.Terminated()) {
    app_.ProcessMessages();
    if (!held) break;
    if (!StepLevel(delta)) return;
    for (int i = 0; i < 35 && !app_.Terminated(); ++i) {
      app_.ProcessMessages();
      app_.SleepMs(1);
    }
  }
  app_.PresentIfDirty();
}

void TitleMenu::LevelUp() { RepeatWhileHeld(LevelArrow::Up, +1); }
void TitleMenu::LevelDown() { RepeatWhileHeld(LevelArrow::Down, -1); }

void TitleMenu::TogglePlayers() { window_.SelectPlayers(window_.Selection().players == 1 ? 2 : 1); }

void TitleMenu::StartSelectedLevel() {
  app_.SetCursor(CursorKind::Hourglass);
  app_.ProcessMessages();
  const std::optional<int> level = window_.Selection().level;
  if (!level) {
    app_.MessageBox(BoxKind::Error, "'" + window_.LevelLbl->text + "' is not a valid integer value");
    window_.MenuBox->visible = true;
    app_.SetCursor(CursorKind::Hidden);
    return;
  }
  session_.game.LevelIndex = *level;
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
