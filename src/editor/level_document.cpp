#include "editor/level_document.h"

#include <utility>

namespace {

constexpr int DoorwayWidth = 4;

bool InDoorway(int along, int length) {
  const int first = (length - DoorwayWidth) / 2;
  return along >= first && along < first + DoorwayWidth;
}

}  // namespace

LevelDocument::LevelDocument() : bytes_(EmptyFrame()) {}

LevelDocument::LevelDocument(const LevelBytes& bytes, std::string path, LevelForm form, std::string comment)
    : bytes_(bytes), path_(std::move(path)), form_(form), comment_(std::move(comment)) {}

LevelBytes LevelDocument::EmptyFrame() {
  LevelBytes bytes{};
  for (int row = 0; row < LevelRows; ++row) {
    for (int col = 0; col < LevelColumns; ++col) {
      const int x = col % GridRoomWidth, y = row % GridRoomHeight;
      const bool outer = col == 0 || row == 0 || col == LevelColumns - 1 || row == LevelRows - 1;
      const bool sideEdge = x == 0 || x == GridRoomWidth - 1;
      const bool topEdge = y == 0 || y == GridRoomHeight - 1;
      bool wall = outer;
      if (!outer && sideEdge) wall = !InDoorway(y, GridRoomHeight);
      if (!outer && topEdge) wall = wall || !InDoorway(x, GridRoomWidth);
      if (!outer && sideEdge && topEdge) wall = true;
      if (wall) bytes[static_cast<size_t>(CellAt(col, row))] = static_cast<uint8_t>(Cell::BrickSolid);
    }
  }
  return bytes;
}

void LevelDocument::Write(int cell, uint8_t value) {
  bytes_[static_cast<size_t>(cell)] = value;
  ++revision_;
}

bool LevelDocument::Set(const std::vector<int>& cells, uint8_t value) {
  if (stroking_) {
    StrokeSet(cells, value);
    return true;
  }
  BeginStroke();
  StrokeSet(cells, value);
  return EndStroke();
}

void LevelDocument::BeginStroke() {
  if (stroking_) return;
  stroking_ = true;
  stroke_.clear();
  strokeSlot_.assign(LevelCellCount, 0);
}

void LevelDocument::StrokeSet(const std::vector<int>& cells, uint8_t value) {
  if (!stroking_) return;
  for (int cell : cells) {
    if (cell < 0 || cell >= LevelCellCount || At(cell) == value) continue;
    int& slot = strokeSlot_[static_cast<size_t>(cell)];
    if (slot == 0) {
      stroke_.push_back(CellChange{cell, At(cell), value});
      slot = static_cast<int>(stroke_.size());
    } else {
      stroke_[static_cast<size_t>(slot - 1)].after = value;
    }
    Write(cell, value);
  }
}

bool LevelDocument::EndStroke() {
  if (!stroking_) return false;
  stroking_ = false;
  std::vector<CellChange> changes;
  // A cell painted over and back again within the stroke is no change.
  for (const CellChange& c : stroke_)
    if (c.before != c.after) changes.push_back(c);
  stroke_.clear();
  strokeSlot_.clear();
  if (changes.empty()) return false;
  history_.Record(std::move(changes));
  return true;
}

bool LevelDocument::Undo() {
  EndStroke();
  const CellEdit* edit = history_.Undo();
  if (!edit) return false;
  for (auto it = edit->changes.rbegin(); it != edit->changes.rend(); ++it) Write(it->cell, it->before);
  return true;
}

bool LevelDocument::Redo() {
  EndStroke();
  const CellEdit* edit = history_.Redo();
  if (!edit) return false;
  for (const CellChange& c : edit->changes) Write(c.cell, c.after);
  return true;
}

void LevelDocument::MarkSaved(const std::string& path, LevelForm form) {
  EndStroke();
  path_ = path;
  form_ = form;
  savedState_ = history_.StateId();
}
