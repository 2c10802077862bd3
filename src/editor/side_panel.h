#pragma once
// The side panel: the rules and warnings, each clickable to point out its cell, the
// checker's verdict for one player and for two together, clickable to choose the
// route drawn on the map, and the level's solutions.
#include <functional>
#include <string>
#include <vector>

#include "editor/level_rules.h"
#include "editor/verdict.h"
#include "ui/form.h"

class SidePanel {
 public:
  SidePanel(Form& form, int left, int top, int width);

  std::function<void(int cell)> onPoint;
  std::function<void(int players)> onRoute;

  void ShowFindings(const std::vector<RuleFinding>& findings);
  // `pending`: the level changed and is being checked again.
  void ShowVerdict(const EditorVerdict& verdict, bool pending, int routePlayers);
  // `kept`: for whom there is a solution of the level as it is ("one player"; empty:
  // none); `outOfDate`: the saved solutions that do not fit it (empty: none).
  void ShowSolutions(const std::string& kept, const std::string& outOfDate);
  // Scrolls the list of findings by whole findings.
  void ScrollFindings(int steps);
  int FirstFindingShown() const { return first_; }
  // The texts shown, in order (for tests).
  std::vector<std::string> Lines() const;

 private:
  void LayOutFindings();
  void ShowMode(int players, const Finishability& mode, bool known, bool pending, bool chosen);
  // Lays out the verdicts and the solutions below them.
  void LayOutVerdicts();

  Panel* rulesBox_;
  std::vector<Label*> findingLabels_;
  Label* moreLabel_;
  std::vector<RuleFinding> findings_;
  int first_ = 0;
  Label* verdictTitle_[2];
  Label* verdictReason_[2];
  Label* solutionsTitle_;
  Label* solutionsStale_;
  int verdictTop_;
};
