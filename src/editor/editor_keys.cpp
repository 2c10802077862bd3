// The editor's keys: Ctrl+ commands, the tools, the palette, the cursor on the map,
// the views, help, playing and the level's solution, captures and quitting.
#include "base/keys.h"
#include "editor/editor_form.h"
#include "editor/palette.h"
#include "editor/palette_panel.h"
#include "ui/app.h"

namespace {

int Letter(char c) { return VK::A + (c - 'A'); }

}  // namespace

void EditorForm::FormKeyUp(int vk) {
  if (vk == VK::Control) control_ = false;
  if (vk == VK::Shift) shift_ = false;
}

void EditorForm::FormKeyDown(int vk) {
  if (vk == VK::Control) control_ = true;
  if (vk == VK::Shift) shift_ = true;
  if (vk == VK::PrintScreen) {
    CaptureScreen();
    return;
  }
  if (Playing()) return;
  if (HelpShown()) {
    if (vk == VK::F1 || vk == VK::Escape || vk == VK::Enter || vk == VK::Space) ToggleHelp();
    return;
  }
  if (control_ && KeyWithControl(vk)) return;
  if (MapKey(vk)) return;
  switch (vk) {
    case VK::F1: ToggleHelp(); return;
    case VK::F5: PlayLevel(1); return;
    case VK::F6: PlayLevel(2); return;
    case VK::F7: PlayLastSolution(); return;
    case VK::Tab: ToggleView(); return;
    case VK::Escape:
      if (gesture_.Active()) {
        gesture_.Cancel();
        Changed();
      } else {
        Quit();
      }
      return;
    case VK::Comma: ChooseBrush(PalettePanel::Step(gesture_.brush, -1)); return;
    case VK::Period: ChooseBrush(PalettePanel::Step(gesture_.brush, 1)); return;
    case VK::PageUp: palette_->ShowGroup((palette_->Group() + 9) % 10); return;
    case VK::PageDown: palette_->ShowGroup((palette_->Group() + 1) % 10); return;
    default: break;
  }
  if (vk >= VK::Digit0 && vk <= VK::Digit0 + 9) {
    // 1..9 and 0 choose the ten groups; the first code of the group becomes the brush.
    const int group = (vk - VK::Digit0 + 9) % 10;
    palette_->ShowGroup(group);
    ChooseBrush(PaletteGroups()[static_cast<size_t>(group)].entries.front().code);
    return;
  }
  const struct {
    char letter;
    Tool tool;
  } tools[] = {{'B', Tool::Paint}, {'L', Tool::Line}, {'R', Tool::Rectangle}, {'F', Tool::Fill}, {'I', Tool::Pick}};
  for (const auto& t : tools)
    if (vk == Letter(t.letter)) ChooseTool(t.tool);
  if (vk == Letter('V')) {
    routePlayers_ = (routePlayers_ + 1) % 3;
    Changed();
  }
}

bool EditorForm::KeyWithControl(int vk) {
  if (vk == Letter('N')) NewLevel();
  else if (vk == Letter('O')) OpenLevelDialog();
  else if (vk == Letter('S') && shift_) SaveAs();
  else if (vk == Letter('S')) Save();
  else if (vk == Letter('Z') && shift_) Redo();
  else if (vk == Letter('Z')) Undo();
  else if (vk == Letter('Y')) Redo();
  else if (vk == Letter('E')) ExportPicture();
  else if (vk == Letter('T')) ExportText();
  else return false;
  return true;
}

// Arrows move the cursor (Shift: five cells), Space and Enter use the tool there,
// Delete clears it to floor, + and - zoom.
bool EditorForm::MapKey(int vk) {
  const int step = shift_ ? 5 : 1;
  switch (vk) {
    case VK::Left: MoveCursor(-step, 0); return true;
    case VK::Right: MoveCursor(step, 0); return true;
    case VK::Up: MoveCursor(0, -step); return true;
    case VK::Down: MoveCursor(0, step); return true;
    case VK::Space:
    case VK::Enter:
      if (cursor_ < 0) MoveCursor(0, 0);
      gesture_.KeyApply(cursor_);
      Changed();
      return true;
    case VK::Delete:
      if (cursor_ >= 0) document_->Set({cursor_}, static_cast<uint8_t>(Cell::Floor));
      Changed();
      return true;
    case VK::Plus:
    case VK::Add:
      view_.Zoom(1, view_.Width() / 2, view_.Height() / 2);
      Redraw();
      return true;
    case VK::Minus:
    case VK::Subtract:
      if (view_.Mode() == MapMode::Room)
        ToggleView();
      else
        view_.Zoom(-1, view_.Width() / 2, view_.Height() / 2);
      Redraw();
      return true;
    default: return false;
  }
}

void EditorForm::MoveCursor(int dx, int dy) {
  if (cursor_ < 0) cursor_ = view_.Mode() == MapMode::Room
                                 ? CellAt(view_.RoomX() * GridRoomWidth + 10, view_.RoomY() * GridRoomHeight + 6)
                                 : CellAt(30, 18);
  const int col = std::clamp(ColumnOf(cursor_) + dx, 0, LevelColumns - 1);
  const int row = std::clamp(RowOf(cursor_) + dy, 0, LevelRows - 1);
  cursor_ = CellAt(col, row);
  pointed_ = -1;
  if (gesture_.Active()) gesture_.Drag(cursor_);
  view_.Reveal(cursor_);
  Changed();
}

void EditorForm::ToggleView() {
  if (view_.Mode() == MapMode::Level) {
    const int cell = cursor_ >= 0 ? cursor_ : CellAt(30, 18);
    view_.ShowRoom(LevelRoomX(cell), LevelRoomY(cell));
  } else {
    view_.ShowLevel();
    if (cursor_ >= 0) view_.Reveal(cursor_);
  }
  Redraw();
}

void EditorForm::ToggleHelp() {
  helpPanel_->visible = !helpPanel_->visible;
}
