#pragma once
// The high-score screen and the name-entry dialog.
#include <array>
#include <set>
#include <string>
#include <vector>

#include "screens/high_score_table.h"
#include "screens/screen_form.h"

class TNameForm;

class THScoreForm : public ScreenForm {
 public:
  explicit THScoreForm(App& app);

  // Set by the main window: asks the names of players entering the table.
  TNameForm* nameDialog = nullptr;
  HighScoreTable table;

  // Loads HighScores.dat into the table; false (after its message) when it could not.
  bool LoadHighScores();
  // Copies places 1 to 15 into the labels.
  void ShowHighScores();
  // Enters the final results of the game just ended (asking names) and saves the table;
  // true when some result took a place.
  struct FinalResult {
    int points;
    std::string levelsPassed;
  };
  bool InsertHighScores(const std::vector<FinalResult>& results);
  void SaveHighScores();
  void CloseHighScores() { ReturnToTitleMenu(); }
  void FormKeyUp(int vk) override;
  void ReturnImageClick() { CloseHighScores(); }

  Panel* ContentBox = nullptr;
  Label* TitleLbl = nullptr;
  Picture* ReturnImage = nullptr;
  std::array<Label*, 15> RankLbl{}, NameLbl{}, ScoreLbl{}, LevelsLbl{};
};

class TNameForm : public ScreenForm {
 public:
  explicit TNameForm(App& app);

  // Shows the dialog modally with the default name selected; returns the name typed.
  std::string AskName(int score, const std::string& defaultName, Color color);

  void FormKeyDown(int vk) override;
  void FormKeyUp(int vk) override;
  void OkImageClick() { modalDone = true; }

  Label* HSLbl = nullptr;
  EditField* NameEdit = nullptr;
  Picture* OkImage = nullptr;

 private:
  // Enter and Escape pressed while the dialog is open: only their release closes it,
  // so a key still held from the game cannot dismiss it unseen.
  std::set<int> pressedHere_;
};
