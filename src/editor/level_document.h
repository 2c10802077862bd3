#pragma once
// The level being edited: its 2200 unscrambled bytes (cells and the 40 trailing bytes,
// kept as they came), where it came from and in which form, and its edits with
// unlimited undo and redo.
#include <cstdint>
#include <string>
#include <vector>

#include "authoring/level_text.h"
#include "editor/edit_history.h"
#include "editor/level_cells.h"

enum class LevelForm { LevelFile, Text };

class LevelDocument {
 public:
  // A new level: an empty frame of 3 x 3 rooms (see EmptyFrame).
  LevelDocument();
  LevelDocument(const LevelBytes& bytes, std::string path, LevelForm form, std::string comment = "");

  // Walls round the level and between its rooms, with a doorway four cells wide in
  // the middle of every inner border, so that every room can be reached.
  static LevelBytes EmptyFrame();

  const LevelBytes& Bytes() const { return bytes_; }
  uint8_t At(int cell) const { return bytes_[static_cast<size_t>(cell)]; }
  uint8_t At(int col, int row) const { return At(CellAt(col, row)); }

  // One undoable edit setting every cell listed to `value`; false (and nothing
  // recorded) when none changed. Cells outside the level are ignored.
  bool Set(const std::vector<int>& cells, uint8_t value);
  // A stroke (a drag of the brush) is one edit however many cells it paints.
  void BeginStroke();
  void StrokeSet(const std::vector<int>& cells, uint8_t value);
  // Records the stroke; false when it changed nothing.
  bool EndStroke();
  bool InStroke() const { return stroking_; }

  bool Undo();
  bool Redo();
  bool CanUndo() const { return history_.CanUndo(); }
  bool CanRedo() const { return history_.CanRedo(); }

  // Changes whenever the bytes change (edits, undo, redo).
  uint64_t Revision() const { return revision_; }
  // Differs from what was last loaded or saved.
  bool Modified() const { return history_.StateId() != savedState_ || stroking_; }
  // The bytes now on disk are these (after a save).
  void MarkSaved(const std::string& path, LevelForm form);
  // What is on disk differs although nothing was edited (a damaged file shown repaired).
  void MarkUnsaved() { savedState_ = UnsavedState; }

  const std::string& Path() const { return path_; }  // empty for a new level
  LevelForm Form() const { return form_; }
  // The text form's heading comment lines (without '#'), kept for saving as text.
  const std::string& Comment() const { return comment_; }
  void SetComment(const std::string& comment) { comment_ = comment; }

 private:
  void Write(int cell, uint8_t value);

  LevelBytes bytes_{};
  std::string path_;
  LevelForm form_ = LevelForm::LevelFile;
  std::string comment_;
  static constexpr uint64_t UnsavedState = ~uint64_t{0};
  EditHistory history_;
  uint64_t savedState_ = 0;
  uint64_t revision_ = 0;
  bool stroking_ = false;
  std::vector<CellChange> stroke_;
  std::vector<int> strokeSlot_;  // per cell: index into stroke_ + 1, or 0
};
