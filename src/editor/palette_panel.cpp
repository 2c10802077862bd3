#include "editor/palette_panel.h"

#include <algorithm>

#include "editor/editor_tiles.h"
#include "editor/palette.h"
#include "screens/menu_builder.h"

namespace {

constexpr Color TabBack{24, 20, 80};
constexpr Color TabChosenBack{246, 226, 172};  // the menu plates' face
constexpr Color SlotBack{12, 10, 64};
constexpr Color SlotChosenBack{246, 226, 172};
constexpr Color NameColor{230, 230, 240};
constexpr int SlotHeight = 44;
constexpr int TabHeight = 22;

}  // namespace

PalettePanel::PalettePanel(Form& form, EditorTiles& tiles, int left, int top, int width)
    : tiles_(tiles) {
  const auto& groups = PaletteGroups();
  const int tabWidth = width / static_cast<int>(groups.size());
  for (size_t g = 0; g < groups.size(); ++g) {
    Label& tab = form.Add<Label>("PaletteTab" + std::to_string(g), left + static_cast<int>(g) * tabWidth, top,
                                 tabWidth - 2, TabHeight);
    tab.font = FontSpec{FontFace::Title, 12, true, false};
    tab.autoSize = false;
    tab.align = Align::Center;
    tab.transparent = false;
    tab.cursor = CursorKind::Hand;
    tab.onClick = [this, g] { ShowGroup(static_cast<int>(g)); };
    tab.SetText(groups[g].name);
    tabs_.push_back(&tab);
  }
  const int slotWidth = width / Columns;
  const int slotsTop = top + TabHeight + 6;
  for (int i = 0; i < Columns * Rows; ++i) {
    const int x = left + (i % Columns) * slotWidth, y = slotsTop + (i / Columns) * (SlotHeight + 2);
    Panel& panel = form.Add<Panel>("PaletteSlot" + std::to_string(i), x, y, slotWidth - 4, SlotHeight);
    panel.background = SlotBack;
    panel.cursor = CursorKind::Hand;
    Picture& picture = form.Add<Picture>("PalettePicture" + std::to_string(i), 6, 6, 32, 32, &panel);
    picture.cursor = CursorKind::Hand;
    Label& name = form.Add<Label>("PaletteName" + std::to_string(i), 44, 0, slotWidth - 50, SlotHeight, &panel);
    name.font = FontSpec{FontFace::Plain, 13, true, false};
    name.autoSize = false;
    name.wordWrap = true;
    name.cursor = CursorKind::Hand;
    auto choose = [this, i] {
      const auto& entries = PaletteGroups()[static_cast<size_t>(group_)].entries;
      if (static_cast<size_t>(i) >= entries.size()) return;
      Show(entries[static_cast<size_t>(i)].code);
      if (onChoose) onChoose(entries[static_cast<size_t>(i)].code);
    };
    panel.onClick = picture.onClick = name.onClick = choose;
    slots_.push_back(Slot{&panel, &picture, &name});
  }
  ShowGroup(0);
}

void PalettePanel::ShowGroup(int group) {
  const auto& groups = PaletteGroups();
  if (group < 0 || group >= static_cast<int>(groups.size())) return;
  group_ = group;
  for (size_t g = 0; g < tabs_.size(); ++g) {
    const bool chosen = static_cast<int>(g) == group_;
    tabs_[g]->background = chosen ? TabChosenBack : TabBack;
    tabs_[g]->color = chosen ? MenuRed : NameColor;
  }
  Repaint();
}

void PalettePanel::Repaint() {
  const auto& entries = PaletteGroups()[static_cast<size_t>(group_)].entries;
  for (size_t i = 0; i < slots_.size(); ++i) {
    Slot& slot = slots_[i];
    slot.panel->visible = i < entries.size();
    if (!slot.panel->visible) continue;
    const uint8_t code = entries[i].code;
    const bool chosen = code == marked_;
    slot.panel->background = chosen ? SlotChosenBack : SlotBack;
    slot.name->color = chosen ? MenuRed : NameColor;
    slot.picture->image = tiles_.Cell(code, 32);
    slot.name->SetText(entries[i].name);
    // Names of one line sit in the middle of the slot.
    int w = 0, h = 0;
    slot.name->FittedSize(w, h);
    slot.name->height = std::min(h, SlotHeight);
    slot.name->top = (SlotHeight - slot.name->height) / 2;
  }
}

void PalettePanel::Show(uint8_t code) {
  int group = 0, entry = 0;
  marked_ = FindInPalette(code, group, entry) ? code : -1;
  if (marked_ >= 0 && group != group_) {
    ShowGroup(group);
    return;
  }
  Repaint();
}

uint8_t PalettePanel::Step(uint8_t code, int steps) {
  int group = 0, entry = 0;
  if (!FindInPalette(code, group, entry)) return code;
  const auto& entries = PaletteGroups()[static_cast<size_t>(group)].entries;
  const int n = static_cast<int>(entries.size());
  return entries[static_cast<size_t>(((entry + steps) % n + n) % n)].code;
}
