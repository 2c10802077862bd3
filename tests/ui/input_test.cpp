// Key preview, typing into edit fields, tab order, the mouse, drop-down lists and
// modal forms.
#include "ui_fixture.h"

namespace {

class EditForm : public RecordingForm {
 public:
  explicit EditForm(App& a) : RecordingForm(a, "Options", 792, 573) {
    speed = &Add<EditField>("GameSpeedEdit", 261, 30, 44, 38);
    speed->text = "16";
    up = &Add<EditField>("P1UpEdit", 197, 150, 76, 38);
    up->text = "Up";
    up->readOnly = true;
    hidden = &Add<EditField>("HiddenEdit", 10, 10, 50, 20);
    hidden->visible = false;
    sound = &Add<EditField>("SoundEdit", 129, 358, 56, 38);
    sound->text = "On";
    sound->readOnly = true;
    tabOrder = {speed, up, hidden, sound};
    speed->onChange = [this] { changes.push_back(speed->text); };
    speed->onExit = [this] { exits.push_back("speed"); };
    speed->onKeyPress = [](char& c) {
      if (c == 13) c = 0;
    };
    up->onKeyUp = [this](int vk) { upKeys.push_back(vk); };
  }
  EditField *speed, *up, *hidden, *sound;
  std::vector<std::string> changes, exits;
  std::vector<int> upKeys;
};

}  // namespace

using InputTest = HeadlessApp;

TEST_F(InputTest, ShowFocusesTheFirstFieldWithItsTextSelected) {
  EditForm form(app);
  app.Show(&form);
  EXPECT_EQ(form.focus, form.speed);
  EXPECT_TRUE(form.speed->selected);
  EXPECT_TRUE(form.speed->Focused());
}

TEST_F(InputTest, TypingReplacesASelectionThenInsertsAndBackspaceDeletes) {
  EditForm form(app);
  app.Show(&form);
  Press('3', '3');
  Press('5', '5');
  Press(VK::Back, 8);
  Press('9', '9');
  Pump(1);
  EXPECT_EQ(form.speed->text, "39");
  EXPECT_EQ(form.changes, (std::vector<std::string>{"3", "35", "3", "39"}));
  // The form saw every key first, characters included.
  EXPECT_EQ(form.log[0], "down 51");
  EXPECT_EQ(form.log[1], "char 3");
  // The handler swallows Enter: no change, no character inserted.
  Press(VK::Enter, 13);
  Pump(1);
  EXPECT_EQ(form.speed->text, "39");
  EXPECT_EQ(form.changes.size(), 4u);
  // Caret keys: insert in the middle, delete forwards.
  Press(VK::Home);
  Press(VK::Delete);
  Press('1', '1');
  Pump(1);
  EXPECT_EQ(form.speed->text, "19");
  // Backspace on a selected text clears it.
  form.speed->SelectAll();
  Press(VK::Back, 8);
  Pump(1);
  EXPECT_EQ(form.speed->text, "");
}

TEST_F(InputTest, ReadOnlyFieldIgnoresTypingButSeesItsKeys) {
  EditForm form(app);
  app.Show(&form);
  form.SetFocus(form.up);
  Press('Q', 'q');
  Press(VK::Back, 8);
  Press(VK::Delete);
  Pump(1);
  EXPECT_EQ(form.up->text, "Up");
  EXPECT_EQ(form.upKeys, (std::vector<int>{'Q', VK::Back, VK::Delete}));
}

TEST_F(InputTest, TabWalksTheTabOrderSkippingHiddenFieldsAndCallsOnExit) {
  EditForm form(app);
  app.Show(&form);
  Press(VK::Tab, 9);
  Pump(1);
  EXPECT_EQ(form.focus, form.up);
  EXPECT_EQ(form.exits, std::vector<std::string>{"speed"});
  // Tab's release lands in the new field, and its character types nothing.
  EXPECT_EQ(form.upKeys, std::vector<int>{VK::Tab});
  EXPECT_EQ(form.up->text, "Up");
  Press(VK::Tab, 9);
  Pump(1);
  EXPECT_EQ(form.focus, form.sound) << "the hidden field is skipped";
  Press(VK::Tab, 9);
  Pump(1);
  EXPECT_EQ(form.focus, form.speed) << "wraps around";
  EXPECT_TRUE(form.speed->selected);
  app.PushInput(KeyDown(VK::Shift));
  Press(VK::Tab, 9);
  app.PushInput(KeyUp(VK::Shift));
  Pump(1);
  EXPECT_EQ(form.focus, form.sound);
  EXPECT_EQ(form.exits.size(), 2u);
}

namespace {

class ClickForm : public RecordingForm {
 public:
  explicit ClickForm(App& a) : RecordingForm(a, "Main", 800, 600) {
    menu = &Add<Panel>("MenuBox", 51, 31, 690, 500);
    start = &Add<Picture>("StartImage", 24, 296, 317, 54, menu);
    start->cursor = CursorKind::Hand;
    caption = &Add<Label>("StartLbl", 100, 302, 0, 0, menu);
    caption->SetText("Start Game");
    arrow = &Add<Picture>("LevelUpImage", 288, 358, 42, 42, menu);
    over = &Add<Picture>("Over", 300, 370, 20, 20, menu);  // added later: lies on top
    start->onClick = [this] { log.push_back("start click"); };
    start->onMouseDown = [this](MouseButton, int x, int y) {
      log.push_back("start down " + std::to_string(x) + "," + std::to_string(y));
    };
    start->onMouseUp = [this](MouseButton, int, int) { log.push_back("start up"); };
    arrow->onMouseDown = [this](MouseButton b, int, int) {
      if (b != MouseButton::Left) return;
      // Holds the arrow with a loop until the button comes up, as the level arrows do.
      arrow->tag = 1;
      while (arrow->tag == 1 && !app.Terminated()) {
        app.ProcessMessages();
        app.SleepMs(1);
        ++held;
      }
    };
    arrow->onMouseUp = [this](MouseButton, int, int) { arrow->tag = 0; };
    over->onClick = [this] { log.push_back("over click"); };
  }
  Panel* menu;
  Picture *start, *arrow, *over;
  Label* caption;
  int held = 0;
};

}  // namespace

TEST_F(InputTest, ClickGoesToTheDeepestControlThroughCaptionsWithoutHandlers) {
  ClickForm form(app);
  app.Show(&form);
  // On the caption text: the picture under it gets the press, with its own coordinates.
  Click(51 + 110, 31 + 306);
  Pump(1);
  EXPECT_EQ(form.log, (std::vector<std::string>{"start down 86,10", "start click", "start up"}));
  form.log.clear();
  Click(51 + 305, 31 + 375);
  Pump(1);
  EXPECT_EQ(form.log, std::vector<std::string>{"over click"});
  EXPECT_EQ(form.ControlAt(51 + 290, 31 + 360), form.arrow);
  EXPECT_EQ(form.ControlAt(5, 5), nullptr);
  form.menu->visible = false;
  EXPECT_EQ(form.ControlAt(51 + 110, 31 + 306), nullptr) << "hidden with its panel";
}

TEST_F(InputTest, ReleaseGoesToThePressedControlAndClicksOnlyOverIt) {
  ClickForm form(app);
  app.Show(&form);
  app.PushInput(Mouse(InputEvent::Type::MouseDown, 51 + 30, 31 + 300));
  app.PushInput(Mouse(InputEvent::Type::MouseUp, 5, 5));
  Pump(1);
  EXPECT_EQ(form.log, (std::vector<std::string>{"start down 6,4", "start up"}));
  form.log.clear();
  // Right button: down and up, but no click.
  app.PushInput(Mouse(InputEvent::Type::MouseDown, 51 + 30, 31 + 300, MouseButton::Right));
  app.PushInput(Mouse(InputEvent::Type::MouseUp, 51 + 30, 31 + 300, MouseButton::Right));
  Pump(1);
  EXPECT_EQ(form.log, (std::vector<std::string>{"start down 6,4", "start up"}));
}

TEST_F(InputTest, HeldArrowLoopEndsWithTheRelease) {
  ClickForm form(app);
  app.Show(&form);
  app.PushInput(Mouse(InputEvent::Type::MouseDown, 51 + 290, 31 + 360), 0);
  app.PushInput(Mouse(InputEvent::Type::MouseUp, 700, 500), 250);
  Pump(2);
  EXPECT_EQ(form.arrow->tag, 0);
  EXPECT_GE(form.held, 240);
  EXPECT_GE(clock.NowMs(), 250u);
}

TEST_F(InputTest, HoverCursorFollowsControlsUnlessTheAppCursorWins) {
  ClickForm form(app);
  app.Show(&form);
  app.PushInput(Mouse(InputEvent::Type::MouseMove, 51 + 30, 31 + 300));
  Pump(1);
  EXPECT_EQ(app.ShownCursor(), CursorKind::Hand);
  app.SetCursor(CursorKind::Hourglass);
  EXPECT_EQ(app.ShownCursor(), CursorKind::Hourglass);
  app.SetCursor(CursorKind::Hidden);
  EXPECT_EQ(app.ShownCursor(), CursorKind::Hidden);
  app.SetCursor(CursorKind::Arrow);
  app.PushInput(Mouse(InputEvent::Type::MouseMove, 5, 5));
  Pump(1);
  EXPECT_EQ(app.ShownCursor(), CursorKind::Arrow);
}

TEST_F(InputTest, DropDownUnfoldsOnClickAndPicksAnItem) {
  RecordingForm form(app, "Options", 792, 573);
  auto& box = form.Add<DropDown>("P1ControlBox", 208, 117, 169, 23);
  box.items = {"Keyboard", "Pad A", "Pad B"};
  box.font.pixelHeight = 11;
  int changes = 0;
  box.onChange = [&] { ++changes; };
  app.Show(&form);
  Click(220, 125);
  Pump(1);
  EXPECT_TRUE(box.open);
  EXPECT_EQ(form.focus, &box);
  int itemY = 117 + 23 + 1 + box.ItemHeight() * 2 + 2;
  EXPECT_EQ(form.ControlAt(220, itemY), &box) << "the list lies over everything";
  Click(220, itemY);
  Pump(1);
  EXPECT_FALSE(box.open);
  EXPECT_EQ(box.selectedIndex, 2);
  EXPECT_EQ(changes, 1);
  // A click elsewhere folds an open list without choosing.
  Click(220, 125);
  Click(600, 500);
  Pump(1);
  EXPECT_FALSE(box.open);
  EXPECT_EQ(box.selectedIndex, 2);
  // Arrow keys on the focused list choose too.
  Press(VK::Up);
  Pump(1);
  EXPECT_EQ(box.selectedIndex, 1);
  EXPECT_EQ(changes, 2);
}

namespace {

class NameForm : public RecordingForm {
 public:
  explicit NameForm(App& a) : RecordingForm(a, "Name", 482, 413) {
    edit = &Add<EditField>("NameEdit", 157, 166, 308, 38);
    edit->onKeyPress = [](char& c) {
      if (c == 13) c = 0;
    };
    tabOrder = {edit};
  }
  void FormKeyUp(int vk) override {
    RecordingForm::FormKeyUp(vk);
    if (vk == VK::Enter || vk == VK::Escape) modalDone = true;
  }
  EditField* edit;
};

}  // namespace

TEST_F(InputTest, ModalFormTakesInputCentredOverTheVisibleForm) {
  RecordingForm scores(app, "Scores", 800, 600);
  NameForm name(app);
  app.Show(&scores);
  name.edit->text = "Player 1";
  name.edit->SelectAll();
  // A click at the field's left end (found only with the dialog's centring) puts the
  // caret before the text and ends the selection.
  Click((800 - 482) / 2 + 159, (600 - 413) / 2 + 180);
  Press('B', 'B');
  Press(VK::Enter, 13);
  // Typed at the same moment, but after the key that ends the dialog.
  Press('C', 'c');
  app.ShowModal(name);
  EXPECT_EQ(name.edit->text, "BPlayer 1");
  EXPECT_TRUE(scores.log.empty()) << "the screen behind got nothing while the dialog was open";
  EXPECT_EQ(app.Visible(), &scores);
  // The rest is the visible form's again.
  Pump(1);
  EXPECT_EQ(scores.log, (std::vector<std::string>{"down 67", "char c", "up 67"}));
}

// The additions for pointing tools: moves reach a control that asks for them (over it,
// or anywhere while it holds the press); wheel turns reach the control under the
// pointer or its nearest parent that takes them; an open box keeps both.
TEST_F(InputTest, MovesAndWheelTurnsReachControlsThatAskForThem) {
  RecordingForm form(app, "Editor", 400, 300);
  auto& panel = form.Add<Panel>("Panel", 100, 100, 200, 100);
  auto& inner = form.Add<Picture>("Inner", 10, 10, 50, 50, &panel);
  form.Add<Picture>("Plain", 0, 0, 50, 50);
  std::vector<std::string> log;
  panel.onWheel = [&](int notches, int x, int y) {
    log.push_back("wheel " + std::to_string(notches) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  inner.onMouseMove = [&](int x, int y) { log.push_back("move " + std::to_string(x) + "," + std::to_string(y)); };
  app.Show(&form);
  auto wheel = [](int notches, int x, int y) {
    InputEvent e = Mouse(InputEvent::Type::Wheel, x, y);
    e.wheel = notches;
    return e;
  };
  app.PushInput(Mouse(InputEvent::Type::MouseMove, 115, 115));  // over the inner picture
  app.PushInput(Mouse(InputEvent::Type::MouseMove, 20, 20));    // over a control without the handler
  app.PushInput(wheel(-2, 115, 115));                           // passed up to the panel
  app.PushInput(wheel(1, 20, 20));                              // nobody takes it
  // A drag that began on the inner picture follows the pointer outside it.
  app.PushInput(Mouse(InputEvent::Type::MouseDown, 120, 120));
  app.PushInput(Mouse(InputEvent::Type::MouseMove, 380, 290));
  app.PushInput(Mouse(InputEvent::Type::MouseUp, 380, 290));
  app.PushInput(Mouse(InputEvent::Type::MouseMove, 250, 150));  // over the panel only
  Pump(2);
  EXPECT_EQ(log, (std::vector<std::string>{"move 5,5", "wheel -2 15,15", "move 270,180"}));

  // While a box is open neither reaches the form's controls.
  log.clear();
  app.PushInput(Mouse(InputEvent::Type::MouseMove, 115, 115), 10);
  app.PushInput(wheel(1, 115, 115), 10);
  app.PushInput(KeyDown(VK::Enter), 20);
  app.PushInput(KeyUp(VK::Enter), 30);
  app.MessageBox(BoxKind::Message, "busy");
  EXPECT_TRUE(log.empty());
}
