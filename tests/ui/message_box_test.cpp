// Message boxes: scripted answers, timers while open, and what the screen behind sees.
#include "ui_fixture.h"

class MessageBoxTest : public HeadlessApp {
 protected:
  // Opens a box from a key handler, as the game does, with `answer` scripted after it.
  BoxResult AskWith(const std::vector<InputEvent>& answer) {
    form.log.clear();
    form.answers.clear();
    Press(VK::Escape);
    for (const InputEvent& e : answer) app.PushInput(e, clock.NowMs() + 5);
    Pump(30);
    EXPECT_EQ(form.answers.size(), 1u);
    EXPECT_TRUE(app.OpenBoxTexts().empty());
    return form.answers.empty() ? BoxResult::Ok : form.answers.front();
  }
  AskingForm form{app, "Main", 632, 453};
  void SetUp() override {
    HeadlessApp::SetUp();
    app.SetTitle("Test Title");
    app.Show(&form);
  }
};

TEST_F(MessageBoxTest, KeysAnswerAConfirmation) {
  EXPECT_EQ(AskWith({KeyDown('Y'), Typed('y'), KeyUp('Y')}), BoxResult::Yes);
  EXPECT_EQ(AskWith({KeyDown('N'), Typed('n'), KeyUp('N')}), BoxResult::No);
  EXPECT_EQ(AskWith({KeyDown(VK::Enter), Typed(13), KeyUp(VK::Enter)}), BoxResult::Yes);
  EXPECT_EQ(AskWith({KeyDown(VK::Escape), Typed(27), KeyUp(VK::Escape)}), BoxResult::No);
  // Moving the default button to No makes Enter answer No.
  EXPECT_EQ(AskWith({KeyDown(VK::Tab), KeyUp(VK::Tab), KeyDown(VK::Enter), KeyUp(VK::Enter)}), BoxResult::No);
}

TEST_F(MessageBoxTest, KeysOfTheBoxNeverReachTheScreenBehind) {
  AskWith({KeyDown('A'), Typed('a'), KeyUp('A'), KeyDown(VK::Enter), Typed(13), KeyUp(VK::Enter)});
  // Only the Escape that opened the box; its own key-up arrived before the box.
  EXPECT_EQ(form.log, (std::vector<std::string>{"down 27", "up 27"}));
  // The next key after the box is delivered normally, with its character.
  Press('B', 'b');
  Pump(2);
  EXPECT_EQ(form.log, (std::vector<std::string>{"down 27", "up 27", "down 66", "char b", "up 66"}));
}

TEST_F(MessageBoxTest, KeysQueuedBehindTheAnswerGoToTheScreen) {
  AskWith({KeyDown('N'), KeyUp('N'), KeyDown('B'), Typed('b'), KeyUp('B')});
  EXPECT_EQ(form.answers, std::vector<BoxResult>{BoxResult::No});
  EXPECT_EQ(form.log, (std::vector<std::string>{"down 27", "up 27", "down 66", "char b", "up 66"}));
}

TEST_F(MessageBoxTest, CharacterOfTheAnsweringKeyArrivingLaterIsSwallowed) {
  form.log.clear();
  Press(VK::Escape);
  app.PushInput(KeyDown('Y'), 5);
  app.PushInput(Typed('y'), 8);
  app.PushInput(KeyUp('Y'), 9);
  Pump(20);
  EXPECT_EQ(form.answers, std::vector<BoxResult>{BoxResult::Yes});
  EXPECT_EQ(form.log, (std::vector<std::string>{"down 27", "up 27"}));
}

TEST_F(MessageBoxTest, KeyHeldBeforeTheBoxStillReleasesOnTheForm) {
  form.log.clear();
  app.PushInput(KeyDown(VK::Right));
  Press(VK::Escape);
  app.PushInput(KeyUp(VK::Right), 10);
  app.PushInput(KeyDown('N'), 20);
  app.PushInput(KeyUp('N'), 21);
  InputEvent repeat = KeyDown(VK::Right);
  repeat.repeat = true;
  app.PushInput(repeat, 5);
  Pump(40);
  EXPECT_EQ(form.log, (std::vector<std::string>{"down 39", "down 27", "up 27", "up 39"}));
  EXPECT_EQ(form.answers, std::vector<BoxResult>{BoxResult::No});
}

TEST_F(MessageBoxTest, OkBoxClosesWithEnterOrEscape) {
  for (int vk : {VK::Enter, VK::Escape}) {
    app.PushInput(KeyDown(vk), clock.NowMs() + 3);
    app.PushInput(KeyUp(vk), clock.NowMs() + 4);
    EXPECT_EQ(app.MessageBox(BoxKind::Error, "Error loading levels."), BoxResult::Ok);
    // The release that came after the box closed is swallowed too.
    Pump(5);
  }
  EXPECT_TRUE(form.log.empty());
  // Y and N do nothing in an OK box.
  app.PushInput(KeyDown('N'), clock.NowMs() + 1);
  app.PushInput(KeyDown(VK::Enter), clock.NowMs() + 50);
  uint64_t start = clock.NowMs();
  EXPECT_EQ(app.MessageBox(BoxKind::Message, "High scores NOT saved."), BoxResult::Ok);
  EXPECT_GE(clock.NowMs() - start, 50u);
}

TEST_F(MessageBoxTest, TimersFireWhileTheBoxIsOpen) {
  Timer& timer = app.CreateTimer();
  std::vector<std::string> openDuringTimer;
  timer.onTimer = [&] {
    timer.SetInterval(0);
    openDuringTimer = app.OpenBoxTexts();
  };
  timer.SetInterval(3100);
  app.PushInput(KeyDown('Y'), 5000);
  EXPECT_EQ(app.MessageBox(BoxKind::Confirmation, "Abort game and return to menu?"), BoxResult::Yes);
  EXPECT_EQ(openDuringTimer, std::vector<std::string>{"Abort game and return to menu?"});
}

TEST_F(MessageBoxTest, MouseClickOnAButtonAnswers) {
  Timer& timer = app.CreateTimer();
  int x = 0, y = 0, w = 0, h = 0;
  bool found = false;
  timer.onTimer = [&] {
    timer.SetInterval(0);
    found = app.BoxButtonRect(1, x, y, w, h);
    // Pressed on No, dragged off and released: nothing; then a real click on No.
    app.PushInput(Mouse(InputEvent::Type::MouseDown, x + w / 2, y + h / 2));
    app.PushInput(Mouse(InputEvent::Type::MouseUp, x - 40, y - 40));
    app.PushInput(Mouse(InputEvent::Type::MouseDown, 2, 2), clock.NowMs() + 5);
    app.PushInput(Mouse(InputEvent::Type::MouseUp, 2, 2), clock.NowMs() + 6);
    app.PushInput(Mouse(InputEvent::Type::MouseDown, x + 3, y + 3), clock.NowMs() + 10);
    app.PushInput(Mouse(InputEvent::Type::MouseUp, x + w - 3, y + h - 3), clock.NowMs() + 11);
  };
  timer.SetInterval(10);
  uint64_t start = clock.NowMs();
  EXPECT_EQ(app.MessageBox(BoxKind::Confirmation, "Quit to system?"), BoxResult::No);
  ASSERT_TRUE(found);
  EXPECT_GE(clock.NowMs() - start, 20u);
  int yx, yy, yw, yh;
  EXPECT_FALSE(app.BoxButtonRect(0, yx, yy, yw, yh)) << "no box open any more";
}

TEST_F(MessageBoxTest, BoxIsDrawnOverTheScreenAndCentred) {
  form.canvas.Fill(Color{1, 0, 51});
  Image before = app.ComposeScreen();
  Timer& timer = app.CreateTimer();
  Image during;
  int bx = 0, by = 0, bw = 0, bh = 0;
  timer.onTimer = [&] {
    timer.SetInterval(0);
    during = app.ComposeScreen();
    app.BoxButtonRect(0, bx, by, bw, bh);
    app.PushInput(KeyDown(VK::Enter));
  };
  timer.SetInterval(5);
  app.MessageBox(BoxKind::Error, "Error initializing game.");
  ASSERT_EQ(during.Width(), 632);
  // The OK button sits in the middle horizontally, on the dialog's face colour.
  EXPECT_NEAR(bx + bw / 2, 316, 2);
  EXPECT_EQ(during.PixelColor(bx - 3, by + bh / 2), (Color{212, 208, 200}));
  // Corners of the screen are untouched, and the picture behind is back afterwards.
  EXPECT_EQ(during.PixelColor(0, 0), (Color{1, 0, 51}));
  EXPECT_EQ(app.ComposeScreen().Pixels(), before.Pixels());
}

TEST_F(MessageBoxTest, TerminateFromATimerEndsTheBox) {
  Timer& timer = app.CreateTimer();
  timer.onTimer = [&] { app.Terminate(); };
  timer.SetInterval(50);
  EXPECT_EQ(app.MessageBox(BoxKind::Confirmation, "Quit to system?"), BoxResult::No);
  EXPECT_TRUE(app.OpenBoxTexts().empty());
}

TEST_F(MessageBoxTest, NestedBoxesListInnermostLast) {
  Timer& timer = app.CreateTimer();
  std::vector<std::string> seen;
  timer.onTimer = [&] {
    timer.SetInterval(0);
    app.PushInput(KeyDown(VK::Enter), clock.NowMs() + 5);
    app.MessageBox(BoxKind::Message, "inner");
    seen = app.OpenBoxTexts();
    app.PushInput(KeyDown(VK::Escape), clock.NowMs() + 5);
  };
  timer.SetInterval(10);
  app.MessageBox(BoxKind::Error, "outer");
  EXPECT_EQ(seen, std::vector<std::string>{"outer"});
}
