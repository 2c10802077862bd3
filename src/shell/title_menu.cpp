// The title menu's actions: level selection with hold-to-repeat arrows, player count,
// the other screens and starting a game.
#include "screens/help.h"
#include "screens/high_scores.h"
#include "screens/options.h"
#include "shell/main_window.h"
#include "base/numbers.h"

bool TMainForm::StepLevel(int delta) {
  int v = 0;
  if (!ParseInt(LevelLbl->text, v)) {
    LevelLbl->SetText("0");
    Invalidate();
    return false;
  }
  int next;
  if (delta > 0)
    next = v < game.LevelCount - 1 ? v + 1 : 0;
  else
    next = v <= 0 ? game.LevelCount - 1 : v - 1;
  LevelLbl->SetText(std::to_string(next));
  Invalidate();
  return true;
}

void TMainForm::RepeatWhileHeld(Picture& arrow, int delta) {
  arrow.tag = 1;
  if (!StepLevel(delta)) return;
  for (int i = 0; i < 210 && !app.Terminated(); ++i) {
    app.SleepMs(1);
    app.ProcessMessages();
  }
  while (arrow.tag == 1 && !app.Terminated()) {
    app.ProcessMessages();
    if (arrow.tag != 1) break;
    if (!StepLevel(delta)) return;
    for (int i = 0; i < 35 && !app.Terminated(); ++i) {
      app.ProcessMessages();
      app.SleepMs(1);
    }
  }
  app.PresentIfDirty();
}

void TMainForm::LevelUp() { RepeatWhileHeld(*LevelUpImage, +1); }
void TMainForm::LevelDown() { RepeatWhileHeld(*LevelDownImage, -1); }

void TMainForm::ArrowMouseDown(Picture& arrow, int delta, MouseButton button) {
  if (button != MouseButton::Left || arrow.tag == 1) return;
  RepeatWhileHeld(arrow, delta);
}

void TMainForm::ReleaseArrow(Picture& arrow) { arrow.tag = 0; }

void TMainForm::TogglePlayers() {
  NumPlayersLbl->SetText(NumPlayersLbl->text == "1" ? "2" : "1");
  Invalidate();
}

void TMainForm::StartSelectedLevel() {
  app.SetCursor(CursorKind::Hourglass);
  app.ProcessMessages();
  int level = 0;
  if (!ParseInt(LevelLbl->text, level)) {
    app.MessageBox(BoxKind::Error, "'" + LevelLbl->text + "' is not a valid integer value");
    MenuBox->visible = true;
    app.SetCursor(CursorKind::Hidden);
    return;
  }
  game.LevelIndex = level;
  game.RandomLevels = false;
  BeginGame();
}

void TMainForm::StartRandomLevel() {
  app.SetCursor(CursorKind::Hourglass);
  app.ProcessMessages();
  game.LevelIndex = game.LevelCount > 0 ? Random(game.LevelCount) : 0;
  game.RandomLevels = true;
  BeginGame();
}

void TMainForm::ShowTitleMenu() {
  app.Show(this);
  Invalidate();
}

void TMainForm::ShowOptionsScreen() {
  app.Show(options_);
  app.Hide(this);
}

void TMainForm::ShowHelpScreen() {
  app.Show(help_);
  app.Hide(this);
}

void TMainForm::ShowScoresScreen() {
  if (scores_->LoadHighScores()) scores_->ShowHighScores();
  app.Show(scores_);
  app.Hide(this);
}
