#include "screens/high_scores.h"

#include "platform/app.h"
#include "platform/keys.h"

THScoreForm::THScoreForm(App& application) : ScreenForm(application, "HScoreForm", 792, 573) {}

bool THScoreForm::LoadHighScores() { return false; }

void THScoreForm::ShowHighScores() {}

void THScoreForm::InsertHighScores(const std::vector<FinalResult>& /*results*/) { SaveHighScores(); }

void THScoreForm::SaveHighScores() {}

void THScoreForm::FormKeyUp(int vk) {
  if (vk == VK::Enter)
    CloseHighScores();
  else
    ScreenForm::FormKeyUp(vk);
}

TNameForm::TNameForm(App& application) : ScreenForm(application, "NameForm", 482, 413) {}
