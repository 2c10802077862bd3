#pragma once
// The editor's buttons, as the game's menu plates with their key on the cap: the file
// commands along the top, the tools, undo and redo, the two ways to play and showing
// the level's solution.
#include <functional>
#include <string>
#include <vector>

#include "editor/tool_gesture.h"
#include "ui/form.h"

struct ToolbarActions {
  std::function<void(Tool)> chooseTool;
  std::function<void()> newLevel, open, save, saveAs, exportPicture, exportText;
  std::function<void()> undo, redo, playOne, playTwo, playSolution, help;
};

class Toolbar {
 public:
  // File plates end at `right` along the top; the tools start at (toolsLeft, toolsTop)
  // and the play plates at (toolsLeft, playTop), the solution's below them.
  Toolbar(Form& form, const ToolbarActions& actions, int right, int toolsLeft, int toolsTop, int playTop);
  void ShowTool(Tool tool);
  // Where a plate is (for tests): false when there is none of that caption.
  bool PlateCentre(const std::string& caption, int& x, int& y) const;

 private:
  Picture& Plate(const std::string& key, const std::string& caption, int left, int top, int width,
                 std::function<void()> onClick);

  Form& form_;
  std::vector<std::pair<std::string, Picture*>> plates_;
  std::vector<std::pair<Tool, Picture*>> toolPlates_;
  Panel* chosenFrame_ = nullptr;
};
