#include "editor/tool_gesture.h"

#include "editor/paint_tools.h"

const char* ToolName(Tool tool) {
  switch (tool) {
    case Tool::Paint: return "Paint";
    case Tool::Line: return "Line";
    case Tool::Rectangle: return "Rectangle";
    case Tool::Fill: return "Fill";
    case Tool::Pick: return "Pick";
  }
  return "";
}

void ToolGesture::SetDocument(LevelDocument& document) {
  Cancel();
  document_ = &document;
}

std::vector<int> ToolGesture::ShapeTo(int cell) const {
  return tool == Tool::Line ? LineCells(anchor_, cell) : RectangleCells(anchor_, cell);
}

void ToolGesture::Press(int cell, bool pick) {
  if (cell < 0 || cell >= LevelCellCount) return;
  Cancel();
  if (pick || tool == Tool::Pick) {
    brush = document_->At(cell);
    if (onPick) onPick(brush);
    return;
  }
  switch (tool) {
    case Tool::Paint:
      document_->BeginStroke();
      document_->StrokeSet({cell}, brush);
      active_ = true;
      last_ = cell;
      break;
    case Tool::Line:
    case Tool::Rectangle:
      active_ = true;
      anchor_ = cell;
      preview_ = ShapeTo(cell);
      break;
    case Tool::Fill:
      document_->Set(FloodFillCells(document_->Bytes(), cell), brush);
      break;
    case Tool::Pick:
      break;
  }
}

void ToolGesture::Drag(int cell) {
  if (!active_ || cell < 0 || cell >= LevelCellCount) return;
  if (tool == Tool::Paint) {
    if (cell == last_) return;
    // A fast drag skips cells: paint the line between the two positions.
    document_->StrokeSet(LineCells(last_, cell), brush);
    last_ = cell;
  } else {
    preview_ = ShapeTo(cell);
  }
}

void ToolGesture::Release(int cell) {
  if (!active_) return;
  Drag(cell);
  active_ = false;
  if (tool == Tool::Paint) {
    document_->EndStroke();
  } else if (tool == Tool::Line || tool == Tool::Rectangle) {
    document_->Set(preview_, brush);
  }
  preview_.clear();
}

void ToolGesture::Cancel() {
  if (active_ && document_->InStroke()) document_->EndStroke();
  active_ = false;
  preview_.clear();
}

void ToolGesture::KeyApply(int cell) {
  if (active_) {
    Release(cell);
    return;
  }
  Press(cell);
  if (tool != Tool::Line && tool != Tool::Rectangle) Release(cell);
}
