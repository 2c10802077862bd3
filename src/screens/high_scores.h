#pragma once
// The high-score screen and the name-entry dialog.
#include "screens/screen_form.h"

class THScoreForm : public ScreenForm {
 public:
  explicit THScoreForm(App& app);

  // Loads HighScores.dat into the table; false (after its message) when it could not.
  bool LoadHighScores();
  void ShowHighScores();
  void CloseHighScores() { ReturnToTitleMenu(); }
  void FormKeyUp(int vk) override;
};

class TNameForm : public ScreenForm {
 public:
  explicit TNameForm(App& app);
};
