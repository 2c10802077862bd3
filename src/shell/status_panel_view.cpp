#include "shell/status_panel_view.h"

#include <algorithm>

#include "ui/form.h"

namespace {
constexpr Color Player1Colour{0, 128, 0};
constexpr Color Player2Colour{0, 128, 128};
}  // namespace

Label& StatusPanelView::AddLabel(Form& form, const std::string& name, const std::string& text,
                                 int left, int top, int width, Align align) {
  Label& l = form.Add<Label>(name, left, top, width, 25, box_);
  l.font = FontSpec{FontFace::Title, 17, true, false};
  l.color = color_;
  l.transparent = true;
  l.align = align;
  l.autoSize = align == Align::Left;
  // Right-aligned values grow to the left: they keep the right edge they were laid
  // out with and get room for long scores and negative life.
  if (align == Align::Right) {
    const int grown = std::max(width, 120);
    l.left = left + width - grown;
    l.width = grown;
  }
  l.SetText(text);
  return l;
}

void StatusPanelView::Build(Form& form, int playerNumber, Color background) {
  color_ = playerNumber == 2 ? Player2Colour : Player1Colour;
  const std::string p = playerNumber == 2 ? "P2" : "P1";
  box_ = &form.Add<Panel>(playerNumber == 2 ? "Player2InfoBox" : "Player1InfoBox", 0, 0, 310, 105);
  box_->background = background;
  box_->visible = false;
  AddLabel(form, p + "Caption", playerNumber == 2 ? "Player 2:" : "Player 1:", 3, -4, 74, Align::Left);
  LifeLbl = &AddLabel(form, p + "LifeLbl", "90", 105, -4, 20, Align::Right);
  AddLabel(form, p + "PercentCaption", "%", 129, -4, 15, Align::Left);
  PointsLbl = &AddLabel(form, p + "PointsLbl", "0", 259, -4, 10, Align::Right);
  AddLabel(form, p + "HKitsCaption", "Health Kits:", 4, 28, 100, Align::Right);
  HKitsLbl = &AddLabel(form, p + "HKitsLbl", "0", 107, 28, 10, Align::Left);
  AddLabel(form, p + "BombsCaption", "Bombs:", 198, 28, 58, Align::Right);
  BombsLbl = &AddLabel(form, p + "BombsLbl", "0", 259, 28, 10, Align::Left);
  AddLabel(form, p + "KeysCaption", "Keys:", 60, 52, 44, Align::Right);
  KeysLbl = &AddLabel(form, p + "KeysLbl", "0", 107, 52, 10, Align::Left);
  AddLabel(form, p + "LevelsCaption", "Levels Passed:", 138, 52, 118, Align::Right);
  LevelsPassedLbl = &AddLabel(form, p + "LevelsPassedLbl", "0", 259, 52, 10, Align::Left);
  StatusLbl = &AddLabel(form, p + "StatusLbl", "Status:", 3, 76, 61, Align::Left);
}

void StatusPanelView::ShowAt(int left, int top) {
  box_->left = left;
  box_->top = top;
  box_->width = 310;
  box_->height = 105;
  box_->visible = true;
}

void StatusPanelView::Hide() { box_->visible = false; }

void StatusPanelView::Apply(const PanelTexts& t) {
  LifeLbl->SetText(t.Life);
  PointsLbl->SetText(t.Points);
  HKitsLbl->SetText(t.HealthKits);
  BombsLbl->SetText(t.Bombs);
  KeysLbl->SetText(t.Keys);
  LevelsPassedLbl->SetText(t.LevelsPassed);
  StatusLbl->SetText(t.Status);
}
