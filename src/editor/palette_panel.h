#pragma once
// The palette on the form: a tab per group of codes, and the group's codes each with
// its picture and name. A click (or the keys) chooses the brush.
#include <cstdint>
#include <functional>
#include <vector>

#include "ui/form.h"

class EditorTiles;

class PalettePanel {
 public:
  static constexpr int Columns = 4;
  static constexpr int Rows = 4;

  // Builds the controls in the rectangle given.
  PalettePanel(Form& form, EditorTiles& tiles, int left, int top, int width);

  // The brush chosen by the player.
  std::function<void(uint8_t)> onChoose;

  // Shows the group of the code and marks it (codes outside the palette mark nothing).
  void Show(uint8_t code);
  void ShowGroup(int group);
  int Group() const { return group_; }
  // The code `steps` entries on from `code` within its group, wrapping around.
  static uint8_t Step(uint8_t code, int steps);
  // The tiles' pictures changed (read again).
  void Repaint();

 private:
  struct Slot {
    Panel* panel;
    Picture* picture;
    Label* name;
  };

  EditorTiles& tiles_;
  std::vector<Label*> tabs_;
  std::vector<Slot> slots_;
  int group_ = 0;
  int marked_ = -1;  // the code marked, or -1
};
