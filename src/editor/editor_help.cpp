#include "editor/editor_help.h"

#include "screens/menu_builder.h"

namespace {

const char* const Keys[][2] = {
    {"Left button", "use the tool: paint while dragging, line or rectangle from press to release, fill"},
    {"Right button", "pick the cell's code as the brush"},
    {"Middle button", "drag the map"},
    {"Wheel", "scroll (Shift: sideways; room view: next room); Ctrl+wheel zooms"},
    {"B  L  R  F  I", "paint, line, rectangle, fill (within the room), pick"},
    {"1 .. 9, 0", "palette groups; PgUp / PgDn the group, comma / period the code"},
    {"Arrows", "move the cursor (Shift: five cells); Space or Enter uses the tool"},
    {"Delete", "clear the cell under the cursor to floor"},
    {"Tab", "whole level / the cursor's room at the game's size;  + and - zoom"},
    {"Ctrl+Z, Ctrl+Y", "undo, redo (Ctrl+Shift+Z too), without limit"},
    {"Ctrl+N, Ctrl+O", "new level (a frame of 3 x 3 rooms), open a level file or text"},
    {"Ctrl+S", "save (a new level becomes the game's next level); Ctrl+Shift+S saves as"},
    {"Ctrl+E, Ctrl+T", "export a picture (PNG), export the text form"},
    {"F5, F6", "play the level in the game with one or two players"},
    {"F7", "show its last solution: the last game (F5, F6) that reached the Finish"},
    {"V", "the route drawn: one player, two players, none"},
    {"Print Screen", "save a capture, as in the game"},
    {"Alt+Enter", "full screen or the window"},
    {"Escape", "cancel a line or rectangle; quit"},
};

}  // namespace

void BuildEditorHelp(Form& form, Panel& panel) {
  MenuBuilder builder(form, &panel);
  builder.Caption("HelpTitle", "Keys and mouse", 20, 8, 24, Color{246, 226, 172});
  int y = 44;
  int i = 0;
  for (const auto& key : Keys) {
    Label& name = form.Add<Label>("HelpKey" + std::to_string(i), 20, y, 150, 0, &panel);
    name.font = FontSpec{FontFace::Plain, 13, true, false};
    name.color = Color{110, 150, 255};
    name.SetText(key[0]);
    Label& what = form.Add<Label>("HelpText" + std::to_string(i), 170, y, panel.width - 190, 0, &panel);
    what.font = FontSpec{FontFace::Plain, 13, false, false};
    what.color = White;
    what.wordWrap = true;
    what.SetText(key[1]);
    y += std::max(name.height, what.height) + 4;
    ++i;
  }
  Label& close = form.Add<Label>("HelpClose", 20, panel.height - 26, 0, 0, &panel);
  close.font = FontSpec{FontFace::Plain, 13, true, false};
  close.color = Color{0, 170, 170};
  close.SetText("F1, Escape or a click closes this help.");
}
