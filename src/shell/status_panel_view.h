#pragma once
// One player's status panel below the room: life, points, kits, bombs, keys, levels
// passed and the status line.
#include "ui/controls.h"
#include "play/status_panels.h"

class Form;

class StatusPanelView {
 public:
  // Creates the panel (hidden) and its labels in the player's colour.
  void Build(Form& form, int playerNumber, Color background);
  void ShowAt(int left, int top);
  void Hide();
  bool Visible() const { return box_ && box_->visible; }
  void Apply(const PanelTexts& texts);

  Panel* Box() const { return box_; }
  Label* LifeLbl = nullptr;
  Label* PointsLbl = nullptr;
  Label* HKitsLbl = nullptr;
  Label* BombsLbl = nullptr;
  Label* KeysLbl = nullptr;
  Label* LevelsPassedLbl = nullptr;
  Label* StatusLbl = nullptr;

 private:
  Label& AddLabel(Form& form, const std::string& name, const std::string& text, int left,
                  int top, int width, Align align);
  static void SetRightAligned(Label& label, int right, int minWidth, const std::string& text);
  Panel* box_ = nullptr;
  Color color_;
};
