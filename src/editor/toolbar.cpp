#include "editor/toolbar.h"

#include "screens/menu_art.h"
#include "screens/menu_builder.h"

namespace {

constexpr int PlateHeight = 32;
constexpr Color ChosenFrame{255, 214, 40};

}  // namespace

Picture& Toolbar::Plate(const std::string& key, const std::string& caption, int left, int top, int width,
                        std::function<void()> onClick) {
  MenuBuilder builder(form_);
  Picture& plate = builder.Plate("Plate" + caption, left, top, width, PlateHeight, std::move(onClick));
  Label& keyName = builder.Caption("PlateKey" + caption, key, 0, 0, 11, KeyBlue);
  keyName.left = left + 4 + (34 - keyName.width) / 2;
  keyName.top = top + (PlateHeight - keyName.height) / 2;
  Label& name = builder.Caption("PlateCaption" + caption, caption, 0, 0, 16, MenuRed);
  const int capEnd = 4 + 34 + 3;
  name.left = left + capEnd + (width - capEnd - name.width) / 2;
  name.top = top + (PlateHeight - name.height) / 2;
  plates_.emplace_back(caption, &plate);
  return plate;
}

Toolbar::Toolbar(Form& form, const ToolbarActions& a, int right, int toolsLeft, int toolsTop, int playTop)
    : form_(form) {
  struct FilePlate {
    const char* key;
    const char* caption;
    std::function<void()> action;
  };
  const FilePlate files[] = {{"^N", "New", a.newLevel},       {"^O", "Open", a.open},
                             {"^S", "Save", a.save},          {"Sh^S", "Save as", a.saveAs},
                             {"^E", "Picture", a.exportPicture}, {"^T", "Text", a.exportText}};
  const int fileWidth = 112;
  int x = right - 6 * (fileWidth + 2) + 2;
  for (const FilePlate& f : files) {
    Plate(f.key, f.caption, x, 4, fileWidth, f.action);
    x += fileWidth + 2;
  }

  chosenFrame_ = &form.Add<Panel>("ChosenTool", 0, 0, 0, 0);
  chosenFrame_->background = ChosenFrame;
  struct ToolPlate {
    const char* key;
    Tool tool;
  };
  const ToolPlate tools[] = {{"B", Tool::Paint}, {"L", Tool::Line}, {"R", Tool::Rectangle},
                             {"F", Tool::Fill},  {"I", Tool::Pick}};
  const int half = 128;
  for (int i = 0; i < 5; ++i) {
    const Tool tool = tools[i].tool;
    Picture& plate = Plate(tools[i].key, ToolName(tool), toolsLeft + (i % 2) * (half + 8),
                           toolsTop + (i / 2) * (PlateHeight + 2), half, [this, tool, a] {
                             if (a.chooseTool) a.chooseTool(tool);
                           });
    toolPlates_.emplace_back(tool, &plate);
  }
  Plate("F1", "Help", toolsLeft + half + 8, toolsTop + 2 * (PlateHeight + 2), half, a.help);
  Plate("^Z", "Undo", toolsLeft, toolsTop + 3 * (PlateHeight + 2), half, a.undo);
  Plate("^Y", "Redo", toolsLeft + half + 8, toolsTop + 3 * (PlateHeight + 2), half, a.redo);
  Plate("F5", "Play 1", toolsLeft, playTop, half, a.playOne);
  Plate("F6", "Play 2", toolsLeft + half + 8, playTop, half, a.playTwo);
  Plate("F7", "Last solution", toolsLeft, playTop + PlateHeight + 2, 2 * half + 8, a.playSolution);
  ShowTool(Tool::Paint);
}

void Toolbar::ShowTool(Tool tool) {
  for (const auto& [t, plate] : toolPlates_)
    if (t == tool) {
      chosenFrame_->left = plate->left - 3;
      chosenFrame_->top = plate->top - 3;
      chosenFrame_->width = plate->width + 6;
      chosenFrame_->height = plate->height + 6;
    }
}

bool Toolbar::PlateCentre(const std::string& caption, int& x, int& y) const {
  for (const auto& [name, plate] : plates_)
    if (name == caption) {
      x = plate->ScreenLeft() + plate->width / 2;
      y = plate->ScreenTop() + plate->height / 2;
      return true;
    }
  return false;
}
