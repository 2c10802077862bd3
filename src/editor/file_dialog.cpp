#include "editor/file_dialog.h"

#include <algorithm>
#include <filesystem>

#include "base/keys.h"
#include "screens/menu_builder.h"
#include "ui/app.h"

namespace {

constexpr int DialogWidth = 620;
constexpr int DialogHeight = 440;
constexpr int RowCount = 12;
constexpr int RowHeight = 22;
constexpr int ListTop = 110;
constexpr Color DialogBack{12, 10, 70};
constexpr Color RowText{220, 220, 235};
constexpr Color ChosenBack{246, 226, 172};

void AddFiles(const std::string& folder, const std::string& shownPrefix, bool levelFiles,
              std::vector<std::string>& out) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder.empty() ? "." : folder, ec)) {
    const std::string name = entry.path().filename().string();
    const bool wanted = levelFiles ? name.rfind("FELD.", 0) == 0 && name.find(".new") == std::string::npos
                                   : name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0;
    if (wanted && !entry.is_directory(ec)) out.push_back(shownPrefix + name);
  }
}

}  // namespace

FileDialog::FileDialog(App& application, const std::string& gameDir)
    : Form(application, "FileDialog", DialogWidth, DialogHeight, DialogBack), gameDir_(gameDir) {
  MenuBuilder builder(*this);
  title_ = &builder.Caption("DialogTitle", "", 16, 10, 21, Color{246, 226, 172});
  field_ = &builder.Field("NameField", "", 16, 48, DialogWidth - 32, White);
  tabOrder = {field_};
  for (int i = 0; i < RowCount; ++i) {
    Label& row = Add<Label>("File" + std::to_string(i), 16, ListTop + i * RowHeight, DialogWidth - 32, RowHeight);
    row.font = FontSpec{FontFace::Plain, 14, false, false};
    row.autoSize = false;
    row.transparent = false;
    row.background = DialogBack;
    row.color = RowText;
    row.cursor = CursorKind::Hand;
    row.onClick = [this, i] { Choose(first_ + i); };
    row.onWheel = [this](int notches, int, int) {
      first_ = std::clamp(first_ - 3 * notches, 0, std::max(0, static_cast<int>(files_.size()) - RowCount));
      ShowList();
    };
    rows_.push_back(&row);
  }
  hint_ = &Add<Label>("DialogHint", 16, DialogHeight - 34, DialogWidth - 32, 20);
  hint_->font = FontSpec{FontFace::Plain, 13, false, false};
  hint_->color = Color{0, 170, 170};
  hint_->SetText("Type a name or click a level;  Up/Down choose,  Enter takes it,  Escape cancels");
}

std::vector<std::string> FileDialog::FindLevels(const std::string& gameDir) {
  std::vector<std::string> files;
  AddFiles(gameDir + "FELDS", "FELDS/", true, files);
  AddFiles(gameDir, "", false, files);
  AddFiles(gameDir + "levels", "levels/", false, files);
  std::sort(files.begin(), files.end());
  return files;
}

bool FileDialog::Ask(const std::string& title, const std::string& suggestion, std::string& path) {
  title_->SetText(title);
  files_ = FindLevels(gameDir_);
  first_ = 0;
  chosen_ = -1;
  field_->text = suggestion;
  field_->SelectAll();
  SetFocus(field_);
  accepted_ = false;
  modalDone = false;
  ShowList();
  app.ShowModal(*this);
  if (!accepted_ || field_->text.empty()) return false;
  // Names are shown relative to the game directory.
  path = field_->text[0] == '/' ? field_->text : gameDir_ + field_->text;
  return true;
}

void FileDialog::ShowList() {
  for (int i = 0; i < RowCount; ++i) {
    const int index = first_ + i;
    Label& row = *rows_[static_cast<size_t>(i)];
    row.visible = index < static_cast<int>(files_.size());
    if (!row.visible) continue;
    row.background = index == chosen_ ? ChosenBack : DialogBack;
    row.color = index == chosen_ ? MenuRed : RowText;
    row.SetText("  " + files_[static_cast<size_t>(index)]);
  }
}

void FileDialog::Choose(int index) {
  if (files_.empty()) return;
  chosen_ = std::clamp(index, 0, static_cast<int>(files_.size()) - 1);
  if (chosen_ < first_) first_ = chosen_;
  if (chosen_ >= first_ + RowCount) first_ = chosen_ - RowCount + 1;
  field_->text = files_[static_cast<size_t>(chosen_)];
  field_->caret = std::string::npos;
  field_->selected = false;
  ShowList();
}

void FileDialog::FormKeyDown(int vk) {
  switch (vk) {
    case VK::Enter:
      accepted_ = true;
      modalDone = true;
      break;
    case VK::Escape:
      modalDone = true;
      break;
    case VK::Up: Choose(chosen_ < 0 ? 0 : chosen_ - 1); break;
    case VK::Down: Choose(chosen_ + 1); break;
    case VK::PageUp: Choose(chosen_ - RowCount); break;
    case VK::PageDown: Choose(chosen_ + RowCount); break;
    default: break;
  }
}
