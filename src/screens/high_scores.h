#pragma once
// The high-score screen and the name-entry dialog.
#include <string>
#include <vector>

#include "screens/screen_form.h"

class THScoreForm : public ScreenForm {
 public:
  explicit THScoreForm(App& app);

  // Loads HighScores.dat into the table; false (after its message) when it could not.
  bool LoadHighScores();
  void ShowHighScores();
  // Enters the final results of the game just ended (asking names) and saves the table.
  struct FinalResult {
    int points;
    std::string levelsPassed;
  };
  void InsertHighScores(const std::vector<FinalResult>& results);
  void SaveHighScores();
  void CloseHighScores() { ReturnToTitleMenu(); }
  void FormKeyUp(int vk) override;
};

class TNameForm : public ScreenForm {
 public:
  explicit TNameForm(App& app);
};
