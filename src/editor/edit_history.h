#pragma once
// Unlimited undo and redo of cell edits within a run: each edit is the list of cells it
// changed with their bytes before and after.
#include <cstddef>
#include <cstdint>
#include <vector>

struct CellChange {
  int cell = 0;  // level cell, row * 60 + column
  uint8_t before = 0, after = 0;
};

struct CellEdit {
  std::vector<CellChange> changes;
  uint64_t id = 0;  // names the state the edit leads to
};

class EditHistory {
 public:
  // Adds an edit after the current state; edits that had been undone are dropped.
  void Record(std::vector<CellChange> changes);
  bool CanUndo() const { return applied_ > 0; }
  bool CanRedo() const { return applied_ < edits_.size(); }
  // The edit to take back (its changes, applied in reverse), or nullptr.
  const CellEdit* Undo();
  // The edit to apply again, or nullptr.
  const CellEdit* Redo();
  // Names the current state: equal ids mean equal levels (0: as loaded).
  uint64_t StateId() const { return applied_ ? edits_[applied_ - 1].id : 0; }
  size_t Size() const { return edits_.size(); }

 private:
  std::vector<CellEdit> edits_;
  size_t applied_ = 0;
  uint64_t nextId_ = 1;
};
