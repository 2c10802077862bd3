#pragma once
// A modal window asking for a level file: a field for the name and a list of the
// levels found (FELD files of the game's levels folder, text sources beside it and in
// levels/), clickable and chosen with the arrows; Enter takes the name, Escape cancels.
#include <string>
#include <vector>

#include "ui/form.h"

class FileDialog : public Form {
 public:
  // `gameDir` ends in '/' or is empty (the working directory).
  FileDialog(App& app, const std::string& gameDir);

  // Shows the dialog until the player answers; false when cancelled. `suggestion` is
  // the name offered first.
  bool Ask(const std::string& title, const std::string& suggestion, std::string& path);

  // The names listed (for tests).
  const std::vector<std::string>& Files() const { return files_; }
  // The levels the dialog lists: FELDS/FELD.*, *.txt and levels/*.txt, sorted.
  static std::vector<std::string> FindLevels(const std::string& gameDir);

  void FormKeyDown(int vk) override;

 private:
  void ShowList();
  void Choose(int index);

  std::string gameDir_;
  Label* title_;
  EditField* field_;
  std::vector<Label*> rows_;
  Label* hint_;
  std::vector<std::string> files_;
  int first_ = 0;
  int chosen_ = -1;
  bool accepted_ = false;
};
