#include "editor/side_panel.h"

#include <algorithm>

#include "screens/menu_builder.h"

namespace {

constexpr Color ErrorText{255, 110, 100};
constexpr Color WarningText{255, 214, 90};
constexpr Color GoodText{90, 230, 120};
constexpr Color QuietText{190, 190, 210};
constexpr Color HeadingColor{246, 226, 172};
constexpr int FindingSlots = 12;
constexpr int RulesHeight = 180;

Label& Text(Form& form, const std::string& id, int left, int top, int width, Panel* parent, FontSpec font) {
  Label& label = form.Add<Label>(id, left, top, width, 0, parent);
  label.font = font;
  label.wordWrap = true;
  label.color = QuietText;
  return label;
}

}  // namespace

SidePanel::SidePanel(Form& form, int left, int top, int width) {
  MenuBuilder builder(form);
  builder.Caption("RulesCaption", "Rules", left, top, 21, HeadingColor);
  rulesBox_ = &form.Add<Panel>("RulesBox", left, top + 28, width, RulesHeight);
  rulesBox_->background = Color{8, 6, 58};
  rulesBox_->onWheel = [this](int notches, int, int) { ScrollFindings(-notches); };
  const FontSpec plain{FontFace::Plain, 12, false, false};
  for (int i = 0; i < FindingSlots; ++i) {
    Label& label = Text(form, "Finding" + std::to_string(i), 4, 0, width - 8, rulesBox_, plain);
    label.cursor = CursorKind::Hand;
    label.onClick = [this, i] {
      const int index = first_ + i;
      if (index < static_cast<int>(findings_.size()) && onPoint) onPoint(findings_[static_cast<size_t>(index)].cell);
    };
    findingLabels_.push_back(&label);
  }
  moreLabel_ = &Text(form, "MoreFindings", 4, RulesHeight - 18, width - 8, rulesBox_, plain);
  moreLabel_->color = HeadingColor;

  verdictTop_ = top + 28 + RulesHeight + 10;
  builder.Caption("CheckerCaption", "Checker", left, verdictTop_, 21, HeadingColor);
  for (int p = 0; p < 2; ++p) {
    Label& title = Text(form, "Verdict" + std::to_string(p + 1), left, 0, width,
                        nullptr, FontSpec{FontFace::Title, 14, true, false});
    title.cursor = CursorKind::Hand;
    title.onClick = [this, p] {
      if (onRoute) onRoute(p + 1);
    };
    verdictTitle_[p] = &title;
    verdictReason_[p] = &Text(form, "VerdictReason" + std::to_string(p + 1), left + 12, 0, width - 12, nullptr, plain);
  }
  solutionsTitle_ = &Text(form, "SolutionsLbl", left, 0, width, nullptr, FontSpec{FontFace::Title, 14, true, false});
  solutionsStale_ = &Text(form, "SolutionsStaleLbl", left + 12, 0, width - 12, nullptr, plain);
  solutionsStale_->color = WarningText;
  ShowSolutions("", "");
}

void SidePanel::ShowSolutions(const std::string& kept, const std::string& outOfDate) {
  solutionsTitle_->color = kept.empty() ? QuietText : GoodText;
  solutionsTitle_->SetText(kept.empty() ? "No solution for the level as it is" : (kept.find(" and ") == std::string::npos ? "Solution for " : "Solutions for ") + kept + " (F7)");
  solutionsStale_->SetText(outOfDate.empty() ? "" : "saved ones out of date: " + outOfDate);
  LayOutVerdicts();
}

void SidePanel::ShowFindings(const std::vector<RuleFinding>& findings) {
  findings_ = findings;
  first_ = std::clamp(first_, 0, std::max(0, static_cast<int>(findings_.size()) - 1));
  LayOutFindings();
}

void SidePanel::ScrollFindings(int steps) {
  first_ = std::clamp(first_ + steps, 0, std::max(0, static_cast<int>(findings_.size()) - 1));
  LayOutFindings();
}

void SidePanel::LayOutFindings() {
  int y = 4;
  const int bottom = RulesHeight - 20;
  size_t shown = 0;
  for (size_t i = 0; i < findingLabels_.size(); ++i) {
    Label& label = *findingLabels_[i];
    const size_t index = static_cast<size_t>(first_) + i;
    label.visible = false;
    if (index >= findings_.size()) continue;
    const RuleFinding& f = findings_[index];
    label.color = f.severity == RuleSeverity::Error ? ErrorText : WarningText;
    label.top = y;
    label.SetText((f.severity == RuleSeverity::Error ? "\xC3\x97 " : "! ") + f.text);
    if (y + label.height > bottom && shown > 0) break;
    label.visible = true;
    y += label.height + 4;
    ++shown;
  }
  if (findings_.empty()) {
    findingLabels_[0]->visible = true;
    findingLabels_[0]->top = 4;
    findingLabels_[0]->color = GoodText;
    findingLabels_[0]->SetText("The level keeps every rule.");
  }
  const size_t hidden = findings_.size() - std::min(findings_.size(), static_cast<size_t>(first_) + shown);
  moreLabel_->visible = hidden > 0 || first_ > 0;
  moreLabel_->SetText((first_ > 0 ? std::to_string(first_) + " above, " : std::string()) + std::to_string(hidden) +
                      " more below (turn the wheel here)");
}

void SidePanel::ShowVerdict(const EditorVerdict& verdict, bool pending, int routePlayers) {
  ShowMode(1, verdict.result.onePlayer, verdict.known, pending, routePlayers == 1);
  ShowMode(2, verdict.result.twoPlayers, verdict.known, pending, routePlayers == 2);
  LayOutVerdicts();
}

void SidePanel::LayOutVerdicts() {
  int y = verdictTop_ + 30;
  for (int p = 0; p < 2; ++p) {
    verdictTitle_[p]->top = y;
    y += verdictTitle_[p]->height + 2;
    verdictReason_[p]->top = y;
    y += (verdictReason_[p]->text.empty() ? 0 : verdictReason_[p]->height) + 10;
  }
  solutionsTitle_->top = y;
  solutionsStale_->top = y + solutionsTitle_->height + 2;
}

void SidePanel::ShowMode(int players, const Finishability& mode, bool known, bool pending, bool chosen) {
  Label& title = *verdictTitle_[players - 1];
  Label& reason = *verdictReason_[players - 1];
  const std::string who = players == 1 ? "one player" : "two players together";
  if (!known) {
    title.color = QuietText;
    title.SetText("Checking...");
    reason.SetText("");
    return;
  }
  if (mode.finishable) {
    title.color = GoodText;
    title.SetText(std::string(chosen ? "\xC2\xBB " : "") + "Finishable by " + who);
    reason.SetText(chosen ? "its route is drawn on the map" : "click to draw its route");
  } else if (mode.notProven) {
    // The level may be fine: the checker ran out of budget, which is no fault of it.
    title.color = WarningText;
    title.SetText("Not proven for " + who);
    reason.SetText(mode.reason);
  } else {
    title.color = ErrorText;
    title.SetText("Not finishable by " + who);
    reason.SetText(mode.reason);
  }
  reason.color = QuietText;
  if (pending) reason.SetText("checking the change...");
}

std::vector<std::string> SidePanel::Lines() const {
  std::vector<std::string> lines;
  for (const Label* label : findingLabels_)
    if (label->visible) lines.push_back(label->text);
  for (int p = 0; p < 2; ++p) {
    lines.push_back(verdictTitle_[p]->text);
    if (!verdictReason_[p]->text.empty()) lines.push_back(verdictReason_[p]->text);
  }
  lines.push_back(solutionsTitle_->text);
  if (!solutionsStale_->text.empty()) lines.push_back(solutionsStale_->text);
  return lines;
}
