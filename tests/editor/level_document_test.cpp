// The level being edited: every tool is one undoable edit, undo and redo without
// limit, strokes, the saved state.
#include <gtest/gtest.h>

#include <random>

#include "editor/level_document.h"
#include "editor/paint_tools.h"
#include "editor/tool_gesture.h"
#include "world/cell_codes.h"

namespace {

int C(int col, int row) { return CellAt(col, row); }

TEST(EmptyFrame, WallsRoundTheLevelAndBetweenRoomsWithDoorways) {
  const LevelBytes b = LevelDocument::EmptyFrame();
  for (int col = 0; col < LevelColumns; ++col) {
    EXPECT_EQ(b[C(col, 0)], Cell::BrickSolid);
    EXPECT_EQ(b[C(col, LevelRows - 1)], Cell::BrickSolid);
  }
  for (int row = 0; row < LevelRows; ++row) {
    EXPECT_EQ(b[C(0, row)], Cell::BrickSolid);
    EXPECT_EQ(b[C(LevelColumns - 1, row)], Cell::BrickSolid);
  }
  // Between rooms (0,0) and (1,0): walls on both sides but for rows 4..7.
  for (int row = 1; row < 11; ++row) {
    const bool doorway = row >= 4 && row <= 7;
    EXPECT_EQ(b[C(19, row)] == Cell::Floor, doorway) << row;
    EXPECT_EQ(b[C(20, row)] == Cell::Floor, doorway) << row;
  }
  // Between rooms (0,0) and (0,1): columns 8..11 open.
  for (int col = 1; col < 19; ++col) {
    const bool doorway = col >= 8 && col <= 11;
    EXPECT_EQ(b[C(col, 11)] == Cell::Floor, doorway) << col;
    EXPECT_EQ(b[C(col, 12)] == Cell::Floor, doorway) << col;
  }
  EXPECT_EQ(b[C(5, 5)], Cell::Floor);
  // The trailing bytes stay zero.
  for (int n = LevelCellBytes; n < LevelFileSize; ++n) EXPECT_EQ(b[n], 0);
}

TEST(LevelDocument, UndoAndRedoWalkBackAndForthThroughEveryTool) {
  LevelDocument doc;
  ToolGesture gesture(doc);
  const LevelBytes empty = doc.Bytes();
  std::vector<LevelBytes> states{empty};

  gesture.brush = Cell::Money;
  gesture.tool = Tool::Paint;  // a drag: one edit
  gesture.Press(C(2, 2));
  gesture.Drag(C(6, 2));
  gesture.Drag(C(6, 5));
  gesture.Release(C(6, 5));
  EXPECT_EQ(doc.At(4, 2), Cell::Money);  // between two drag positions
  EXPECT_EQ(doc.At(6, 4), Cell::Money);
  states.push_back(doc.Bytes());

  gesture.tool = Tool::Line;
  gesture.brush = Cell::BrickSolid;
  gesture.Press(C(2, 8));
  gesture.Drag(C(9, 8));
  EXPECT_EQ(doc.At(5, 8), Cell::Floor) << "a line is painted only when released";
  EXPECT_EQ(gesture.Preview().size(), 8u);
  gesture.Release(C(10, 9));
  EXPECT_EQ(doc.At(10, 9), Cell::BrickSolid);
  states.push_back(doc.Bytes());

  gesture.tool = Tool::Rectangle;
  gesture.brush = Cell::Key;
  gesture.Press(C(25, 3));
  gesture.Release(C(27, 5));
  EXPECT_EQ(doc.At(26, 4), Cell::Key);
  states.push_back(doc.Bytes());

  gesture.tool = Tool::Fill;
  gesture.brush = Cell::BrickEnemyTrans;
  gesture.Press(C(45, 30));
  gesture.Release(C(45, 30));
  EXPECT_EQ(doc.At(41, 25), Cell::BrickEnemyTrans);
  states.push_back(doc.Bytes());

  gesture.tool = Tool::Pick;
  gesture.Press(C(26, 4));
  gesture.Release(C(26, 4));
  EXPECT_EQ(gesture.brush, Cell::Key);
  EXPECT_EQ(doc.Bytes(), states.back()) << "picking changes nothing";

  for (size_t i = states.size() - 1; i > 0; --i) {
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.Bytes(), states[i - 1]) << i;
  }
  EXPECT_FALSE(doc.Undo());
  for (size_t i = 1; i < states.size(); ++i) {
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(doc.Bytes(), states[i]) << i;
  }
  EXPECT_FALSE(doc.Redo());

  // A new edit after undoing drops what was undone.
  doc.Undo();
  doc.Set({C(3, 3)}, Cell::Ant);
  EXPECT_FALSE(doc.CanRedo());
}

TEST(LevelDocument, UndoHasNoLimit) {
  LevelDocument doc;
  std::mt19937 dice(5);
  const LevelBytes start = doc.Bytes();
  for (int i = 0; i < 3000; ++i) doc.Set({static_cast<int>(dice() % LevelCellCount)}, static_cast<uint8_t>(1 + dice() % 60));
  while (doc.Undo()) {
  }
  EXPECT_EQ(doc.Bytes(), start);
}

TEST(LevelDocument, EditsThatChangeNothingAreNotRecorded) {
  LevelDocument doc;
  EXPECT_FALSE(doc.Set({C(0, 0)}, Cell::BrickSolid));  // already a wall
  EXPECT_FALSE(doc.Set({-1, LevelCellCount}, Cell::Ant)) << "cells outside the level are ignored";
  EXPECT_FALSE(doc.CanUndo());
  // Painted over and back within one stroke: no change either.
  doc.BeginStroke();
  doc.StrokeSet({C(5, 5)}, Cell::Ant);
  doc.StrokeSet({C(5, 5)}, Cell::Floor);
  EXPECT_FALSE(doc.EndStroke());
  EXPECT_FALSE(doc.CanUndo());
  EXPECT_FALSE(doc.Modified());
}

TEST(LevelDocument, ModifiedFollowsTheSavedState) {
  LevelDocument doc;
  EXPECT_FALSE(doc.Modified());
  doc.Set({C(5, 5)}, Cell::Ant);
  EXPECT_TRUE(doc.Modified());
  doc.Undo();
  EXPECT_FALSE(doc.Modified()) << "back where it was loaded";
  doc.Redo();
  doc.MarkSaved("x.txt", LevelForm::Text);
  EXPECT_FALSE(doc.Modified());
  EXPECT_EQ(doc.Form(), LevelForm::Text);
  doc.Undo();
  EXPECT_TRUE(doc.Modified()) << "the saved file holds the ant";
  doc.Redo();
  EXPECT_FALSE(doc.Modified());
  const uint64_t revision = doc.Revision();
  doc.Set({C(6, 5)}, Cell::Ant);
  EXPECT_GT(doc.Revision(), revision);
  doc.MarkUnsaved();
  doc.Undo();
  EXPECT_TRUE(doc.Modified());
}

TEST(ToolGesture, CancelledShapesPaintNothingAndRightButtonPicks) {
  LevelDocument doc;
  ToolGesture gesture(doc);
  gesture.tool = Tool::Rectangle;
  gesture.brush = Cell::Ant;
  gesture.Press(C(3, 3));
  gesture.Drag(C(8, 8));
  gesture.Cancel();
  gesture.Release(C(8, 8));
  EXPECT_FALSE(doc.CanUndo());
  int picked = -1;
  gesture.onPick = [&](uint8_t b) { picked = b; };
  gesture.Press(C(0, 0), true);
  EXPECT_EQ(picked, Cell::BrickSolid);
  EXPECT_EQ(gesture.tool, Tool::Rectangle) << "picking keeps the tool";
}

TEST(ToolGesture, KeyboardSpaceDrawsShapesCornerToCorner) {
  LevelDocument doc;
  ToolGesture gesture(doc);
  gesture.tool = Tool::Line;
  gesture.brush = Cell::BrickShootable;
  gesture.KeyApply(C(2, 2));
  EXPECT_TRUE(gesture.Active());
  gesture.Drag(C(2, 6));
  gesture.KeyApply(C(2, 6));
  EXPECT_FALSE(gesture.Active());
  for (int row = 2; row <= 6; ++row) EXPECT_EQ(doc.At(2, row), Cell::BrickShootable);
  gesture.tool = Tool::Paint;
  gesture.KeyApply(C(4, 4));
  EXPECT_FALSE(gesture.Active());
  EXPECT_EQ(doc.At(4, 4), Cell::BrickShootable);
}

}  // namespace
