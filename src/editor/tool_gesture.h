#pragma once
// One use of a drawing tool with the mouse or the keyboard: press on a cell, drag,
// release. The brush paints while dragged; a line or rectangle shows where it would go
// and is painted on release; a fill paints at the press; picking takes a cell's byte
// as the brush. Every use is one undoable edit.
#include <cstdint>
#include <functional>
#include <vector>

#include "editor/level_document.h"

enum class Tool { Paint, Line, Rectangle, Fill, Pick };

const char* ToolName(Tool tool);

class ToolGesture {
 public:
  explicit ToolGesture(LevelDocument& document) : document_(&document) {}
  void SetDocument(LevelDocument& document);

  Tool tool = Tool::Paint;
  uint8_t brush = 1;
  // The brush was picked from a cell.
  std::function<void(uint8_t)> onPick;

  // With `pick` (the right button) the press picks whatever the tool.
  void Press(int cell, bool pick = false);
  void Drag(int cell);
  void Release(int cell);
  // Ends a line or rectangle without painting it.
  void Cancel();
  bool Active() const { return active_; }
  // Space on the keyboard's cursor: a press and release, or for a line or rectangle the
  // first and then the second corner.
  void KeyApply(int cell);
  // Where a line or rectangle being drawn would paint.
  const std::vector<int>& Preview() const { return preview_; }

 private:
  std::vector<int> ShapeTo(int cell) const;

  LevelDocument* document_;
  bool active_ = false;
  int anchor_ = -1;
  int last_ = -1;
  std::vector<int> preview_;
};
