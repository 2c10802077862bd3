// Timers, scripted input, nested loops and unwinding after Terminate.
#include "ui_fixture.h"

using PumpTest = HeadlessApp;

TEST_F(PumpTest, TimerFiresOnlyInsideProcessMessagesOnceItsIntervalPassed) {
  Timer& timer = app.CreateTimer();
  int fired = 0;
  timer.onTimer = [&] {
    ++fired;
    timer.SetInterval(0);
  };
  timer.SetInterval(3800);
  clock.Advance(3799);
  app.ProcessMessages();
  EXPECT_EQ(fired, 0);
  clock.Advance(1);
  EXPECT_EQ(fired, 0) << "time passing alone must not fire it";
  app.ProcessMessages();
  EXPECT_EQ(fired, 1);
  Pump(10000);
  EXPECT_EQ(fired, 1) << "stopped by its handler";
}

TEST_F(PumpTest, RunningTimerFiresEveryInterval) {
  Timer& timer = app.CreateTimer();
  int fired = 0;
  timer.onTimer = [&] { ++fired; };
  timer.SetInterval(100);
  Pump(1001);  // the last pump runs at 1000 ms
  EXPECT_EQ(fired, 10);
}

TEST_F(PumpTest, SameIntervalDoesNotRestartAndZeroStops) {
  Timer& timer = app.CreateTimer();
  int fired = 0;
  timer.onTimer = [&] { ++fired; };
  timer.SetInterval(3100);
  Pump(3000);
  timer.SetInterval(3100);  // as the main loop does on every pass
  Pump(150);
  EXPECT_EQ(fired, 1);
  timer.SetInterval(0);
  EXPECT_EQ(timer.Interval(), 0);
  Pump(10000);
  EXPECT_EQ(fired, 1);
  // A new value restarts the count from now.
  timer.SetInterval(500);
  Pump(499);
  EXPECT_EQ(fired, 1);
  Pump(2);
  EXPECT_EQ(fired, 2);
}

TEST_F(PumpTest, ScriptedInputArrivesWhenItsTimeComes) {
  RecordingForm form(app, "Main");
  app.Show(&form);
  app.PushInput(KeyDown(VK::F2), 50);
  app.PushInput(KeyDown(VK::F1), 20);
  std::vector<std::string> seen;
  app.onEvent = [&](const InputEvent& e) { seen.push_back(std::to_string(e.vk)); };
  Pump(30);
  EXPECT_EQ(form.log, std::vector<std::string>{"down 112"});
  EXPECT_TRUE(app.ScriptPending());
  Pump(30);
  EXPECT_EQ(form.log, (std::vector<std::string>{"down 112", "down 113"}));
  EXPECT_EQ(seen, (std::vector<std::string>{"112", "113"}));
  EXPECT_FALSE(app.ScriptPending());
}

// A key handler that runs its own loop, as the game's main loop does.
class LoopingForm : public RecordingForm {
 public:
  using RecordingForm::RecordingForm;
  void FormKeyDown(int vk) override {
    RecordingForm::FormKeyDown(vk);
    if (vk != VK::F2) return;
    ++depth;
    while (!stop && !app.Terminated()) {
      app.ProcessMessages();
      app.SleepMs(1);
      ++passes;
    }
    --depth;
    unwound = true;
  }
  void FormKeyUp(int vk) override {
    RecordingForm::FormKeyUp(vk);
    if (vk == VK::Escape) stop = true;
    if (vk == VK::F10) app.Terminate();
  }
  bool stop = false, unwound = false;
  int depth = 0, passes = 0;
};

TEST_F(PumpTest, HandlerMayRunANestedLoopThatKeepsEventsAndTimersFlowing) {
  LoopingForm form(app, "Main");
  app.Show(&form);
  Timer& timer = app.CreateTimer();
  int fired = 0, depthAtFire = -1;
  timer.onTimer = [&] {
    ++fired;
    depthAtFire = form.depth;
    timer.SetInterval(0);
  };
  timer.SetInterval(200);
  app.PushInput(KeyDown(VK::F2), 10);
  app.PushInput(KeyDown(VK::Left), 100);
  app.PushInput(KeyUp(VK::Escape), 400);
  Pump(20);  // the outer pump enters the loop and comes back only when it ends
  EXPECT_TRUE(form.unwound);
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(depthAtFire, 1);
  EXPECT_EQ(form.log, (std::vector<std::string>{"down 113", "down 37", "up 27"}));
  EXPECT_GE(clock.NowMs(), 400u);
}

TEST_F(PumpTest, TerminateUnwindsNestedLoopsAndStopsDispatching) {
  LoopingForm form(app, "Main");
  app.Show(&form);
  Timer& timer = app.CreateTimer();
  int fired = 0;
  timer.onTimer = [&] { ++fired; };
  timer.SetInterval(1000);
  app.PushInput(KeyDown(VK::F2), 0);
  app.PushInput(KeyUp(VK::F10), 50);
  app.PushInput(KeyDown(VK::Left), 60);
  app.Run();  // returns only because the nested loop saw Terminated()
  EXPECT_TRUE(app.Terminated());
  EXPECT_TRUE(form.unwound);
  EXPECT_EQ(form.log, (std::vector<std::string>{"down 113", "up 121"}));
  clock.Advance(5000);
  app.ProcessMessages();
  EXPECT_EQ(fired, 0);
  EXPECT_EQ(form.log.size(), 2u) << "nothing is dispatched after Terminate";
  EXPECT_EQ(app.MessageBox(BoxKind::Confirmation, "Quit?"), BoxResult::No);
  EXPECT_EQ(app.MessageBox(BoxKind::Error, "Oops"), BoxResult::Ok);
}

TEST_F(PumpTest, TimerHandlerWithNestedLoopIsNotReentered) {
  Timer& timer = app.CreateTimer();
  int entered = 0, maxDepth = 0, depth = 0;
  timer.onTimer = [&] {
    ++entered;
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    for (int i = 0; i < 300; ++i) {
      app.ProcessMessages();
      app.SleepMs(1);
    }
    --depth;
  };
  timer.SetInterval(100);
  Pump(150);
  EXPECT_EQ(maxDepth, 1);
  EXPECT_GE(entered, 1);
}

TEST_F(PumpTest, CloseGoesToTheFirstForm) {
  RecordingForm first(app, "Main");
  RecordingForm second(app, "Options");
  app.Show(&second);
  InputEvent close;
  close.type = InputEvent::Type::Close;
  app.PushInput(close);
  app.ProcessMessages();
  EXPECT_EQ(first.closes, 1);
  EXPECT_EQ(second.closes, 0);
}

TEST_F(PumpTest, ShowCallsFormShowAndPaintsOnTheNextPump) {
  RecordingForm main(app, "Main");
  RecordingForm other(app, "Other");
  app.Show(&main);
  EXPECT_EQ(main.shows, 1);
  app.Show(&main);
  EXPECT_EQ(main.shows, 1) << "already visible";
  app.ProcessMessages();
  EXPECT_EQ(main.paints, 1);
  app.ProcessMessages();
  EXPECT_EQ(main.paints, 1);
  app.Show(&other);
  app.Hide(&main);
  EXPECT_EQ(app.Visible(), &other);
  app.Hide(&other);
  EXPECT_EQ(app.Visible(), nullptr);
}

// Work that can wait runs in the outer loop's idle moments, one job per moment, after
// what was already queued as input; a picture left to be made later looks the same.
TEST_F(PumpTest, IdleJobsRunOneAtATimeAfterInputAndPicturesMadeLaterLookTheSame) {
  RecordingForm form(app, "Main", 64, 32);
  Picture& now = form.Add<Picture>("Now", 0, 0, 32, 32);
  Picture& later = form.Add<Picture>("Later", 32, 0, 32, 32);
  Image art(4, 4, Color{200, 10, 10});
  art.SetPixel(1, 2, White);
  now.image = art;
  int made = 0;
  later.image.MakeLater([&] {
    ++made;
    return art;
  });
  const uint64_t revision = later.image.Revision();
  app.Show(&form);
  EXPECT_EQ(made, 0) << "showing the form must not make it";
  Image screen = app.ComposeScreen();
  EXPECT_EQ(made, 1) << "painting looks at it";
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(screen.PixelColor(x, y), screen.PixelColor(x + 32, y)) << x << "," << y;
  later.image.Get();
  form.MakeWaitingPictures();
  EXPECT_EQ(made, 1) << "made once";
  EXPECT_EQ(later.image.Revision(), revision) << "being made is no change to show";
  // One seldom seen waits for its first look, not for a moment of the program's.
  Picture& seldom = form.Add<Picture>("Seldom", 0, 0, 8, 8);
  seldom.visible = false;
  seldom.image.MakeLater([&] { return ++made, art; }, false);
  form.MakeWaitingPictures();
  EXPECT_EQ(made, 1);
  EXPECT_EQ(seldom.image.Width(), 4);
  EXPECT_EQ(made, 2);

  std::vector<std::string> order;
  app.WhenIdle([&] { order.push_back(form.log.empty() ? "first job before the key" : "first job"); });
  app.WhenIdle([&] {
    order.push_back("second job");
    app.Terminate();
  });
  app.PushInput(KeyDown(VK::F2), 0);
  app.Run();
  ASSERT_EQ(form.log.size(), 1u);
  EXPECT_EQ(order, (std::vector<std::string>{"first job", "second job"}));
}

// A loop's wait handles each message when it is due and sleeps through the rest: no
// waking every millisecond when nothing happens.
TEST(ProcessMessagesUntil, HandlesEachMessageWhenDueAndSleepsThroughTheRest) {
  CountingClock clock;
  App app(clock, true);
  std::string error;
  ASSERT_TRUE(app.Init(error)) << error;
  RecordingForm form(app, "Main");
  app.Show(&form);
  app.ProcessMessages();  // the first screen is shown

  std::vector<std::string> log;
  app.onEvent = [&](const InputEvent&) { log.push_back("key at " + std::to_string(clock.NowMicros())); };
  Timer& timer = app.CreateTimer();
  timer.onTimer = [&] {
    log.push_back("timer at " + std::to_string(clock.NowMicros()));
    timer.SetInterval(0);
  };
  timer.SetInterval(9);
  app.PushInput(KeyDown(VK::Left), 4);
  app.PushInput(KeyDown(VK::Up), 16);
  clock.sleeps = 0;
  app.ProcessMessagesUntil(16000, [] { return false; });
  EXPECT_EQ(clock.NowMicros(), 16000u);
  EXPECT_EQ(log, (std::vector<std::string>{"key at 4000", "timer at 9000"}))
      << "what comes as the time runs out is the next pass's";
  EXPECT_LE(clock.sleeps, 4) << "one sleep per thing to do and one to the end";
  app.ProcessMessages();
  EXPECT_EQ(log.back(), "key at 16000");

  bool stop = false;
  app.PushInput(KeyDown(VK::Right), 20);
  app.onEvent = [&](const InputEvent&) { stop = true; };
  app.ProcessMessagesUntil(32000, [&] { return stop; });
  EXPECT_EQ(clock.NowMicros(), 20000u) << "a handler that stops the loop ends the wait";
}

// A wait that is over before it begins (a game pass at speed 0) still moves virtual
// time on, or a loop of such waits would never see a timer fall due.
TEST(ProcessMessagesUntil, AWaitAlreadyOverStillMovesVirtualTime) {
  VirtualClock clock;
  App app(clock, true);
  std::string error;
  ASSERT_TRUE(app.Init(error)) << error;
  bool fired = false;
  uint64_t firedAtMs = 0;
  Timer& timer = app.CreateTimer();
  timer.onTimer = [&] {
    fired = true;
    firedAtMs = clock.NowMs();
  };
  timer.SetInterval(5);
  int passes = 0;
  while (!fired && passes < 1000) {
    app.ProcessMessagesUntil(clock.NowMicros(), [] { return false; });
    ++passes;
  }
  EXPECT_TRUE(fired);
  EXPECT_EQ(firedAtMs, 5u);
}
