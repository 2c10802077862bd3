#include "editor/edit_history.h"

#include <utility>

void EditHistory::Record(std::vector<CellChange> changes) {
  edits_.resize(applied_);
  edits_.push_back(CellEdit{std::move(changes), nextId_++});
  applied_ = edits_.size();
}

const CellEdit* EditHistory::Undo() {
  if (!CanUndo()) return nullptr;
  return &edits_[--applied_];
}

const CellEdit* EditHistory::Redo() {
  if (!CanRedo()) return nullptr;
  return &edits_[applied_++];
}
