// The windowed pump under SDL's dummy video driver: what it composes and presents.
// Counts, not timings: an unchanged screen must cost no composing at all.
#include <SDL.h>

#include "ui_fixture.h"

using WindowedApp = WindowedAppTest;

TEST_F(WindowedApp, UnchangedScreenIsNotComposedAgain) {
  RecordingForm form(app, "Main", 632, 453, Color{1, 0, 51});
  auto& label = form.Add<Label>("WelcomeLbl", 178, 206, 276, 40);
  label.SetText("Welcome");
  app.SetWindowed(632, 453);
  app.Show(&form);
  Pump(100);
  App::PresentStats first = app.Stats();
  EXPECT_EQ(first.fullComposes, 1u);
  EXPECT_EQ(first.presents, 1u);
  Pump(2000);
  EXPECT_EQ(app.Stats().fullComposes, first.fullComposes) << "nothing changed";
  EXPECT_EQ(app.Stats().presents, first.presents);

  // A control changed by plain assignment is noticed: its area alone is composed,
  // once, and presented once.
  label.text = "Changed";
  Pump(100);
  EXPECT_EQ(app.Stats().fullComposes, first.fullComposes);
  EXPECT_EQ(app.Stats().partialComposes, first.partialComposes + 1);
  EXPECT_EQ(app.Stats().presents, first.presents + 1);

  // Announced canvas drawing composes only the announced squares, within one refresh.
  uint64_t partial = app.Stats().partialComposes;
  for (int i = 0; i < 16; ++i) {
    form.canvas.FillRect(80 + 32 * i, 64, 32, 32, White);
    form.InvalidateRect(80 + 32 * i, 64, 32, 32);
    app.ProcessMessages();
  }
  Pump(20);
  EXPECT_EQ(app.Stats().partialComposes, partial + 16);
  EXPECT_EQ(app.Stats().fullComposes, first.fullComposes);
  EXPECT_LE(app.Stats().presents, first.presents + 3) << "at most one present per refresh";
  // And the screen that was presented matches a fresh composition.
  Image fresh = app.ComposeScreen();
  EXPECT_EQ(fresh.PixelColor(80, 64), White);
}

TEST_F(WindowedApp, FullScreenKeepsTheLogicalSize) {
  RecordingForm form(app, "Main", 800, 600);
  app.SetWindowed(632, 453);
  app.Show(&form);
  std::string error;
  ASSERT_TRUE(app.SetFullScreen(800, 600, error)) << error;
  EXPECT_EQ(app.ScreenWidth(), 800);
  EXPECT_EQ(app.ScreenHeight(), 600);
  Pump(50);
  EXPECT_EQ(app.ComposeScreen().Width(), 800);
  app.RestoreDesktop();
  Pump(50);
}

namespace {

void PushText(const char* utf8) {
  SDL_Event ev{};
  ev.type = SDL_TEXTINPUT;
  SDL_strlcpy(ev.text.text, utf8, sizeof ev.text.text);
  SDL_PushEvent(&ev);
}

}  // namespace

TEST_F(WindowedApp, SdlEventsArriveAsTheGamesKeysCharactersAndClicks) {
  RecordingForm form(app, "Main", 632, 453);
  auto& pic = form.Add<Picture>("StartImage", 100, 50, 40, 30);
  int clicks = 0;
  pic.onClick = [&] { ++clicks; };
  app.SetWindowed(632, 453);
  app.Show(&form);
  Pump(20);

  PushSdlKey(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A);
  PushText("a");
  PushSdlKey(SDL_KEYUP, SDLK_a, SDL_SCANCODE_A);
  PushSdlKey(SDL_KEYDOWN, SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER);
  PushText("\xC3\xA9");      // e acute: a Latin-1 character
  PushText("\xE2\x82\xAC");  // the euro sign has no Latin-1 byte: dropped
  PushSdlKey(SDL_KEYDOWN, SDLK_LEFT, SDL_SCANCODE_LEFT);
  app.ProcessMessages();
  EXPECT_EQ(form.log, (std::vector<std::string>{"down 65", "char a", "up 65", "down 13", "char \r",
                                                std::string("char \xE9"), "down 37"}));

  form.log.clear();
  SDL_Event focus{};
  focus.type = SDL_WINDOWEVENT;
  focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  SDL_PushEvent(&focus);
  app.ProcessMessages();
  EXPECT_EQ(form.log, (std::vector<std::string>{"up 13", "up 37"})) << "held keys are released";

  SDL_Event click{};
  click.type = SDL_MOUSEBUTTONDOWN;
  click.button.button = SDL_BUTTON_LEFT;
  click.button.x = 110;
  click.button.y = 60;
  SDL_PushEvent(&click);
  click.type = SDL_MOUSEBUTTONUP;
  SDL_PushEvent(&click);
  app.ProcessMessages();
  EXPECT_EQ(clicks, 1);

  PushSdlKey(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT);
  app.ProcessMessages();
  EXPECT_EQ(form.closes, 1) << "Alt+F4 closes";
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  app.ProcessMessages();
  EXPECT_EQ(form.closes, 2);
}

// A wait wakes for a present owed by the refresh limit only when something was drawn
// since: a game standing still sleeps through its whole pass.
TEST(WindowedWait, WakesForAnOwedPresentOnlyWhenSomethingWasDrawn) {
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (!driver || std::string(driver) != "dummy") GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
  CountingClock clock;
  App app(clock, false);
  std::string error;
  ASSERT_TRUE(app.Init(error)) << error;
  RecordingForm form(app, "Main", 64, 64);
  app.SetWindowed(64, 64);
  app.Show(&form);
  for (int i = 0; i < 50; ++i) {
    app.ProcessMessages();
    app.SleepMs(1);
  }
  for (const bool drawn : {false, true}) {
    SCOPED_TRACE(drawn ? "drawn" : "nothing drawn");
    app.PresentIfDirty();  // a check now: the next one is a refresh away
    if (drawn) {
      form.canvas.FillRect(0, 0, 8, 8, White);
      form.InvalidateRect(0, 0, 8, 8);
    }
    const uint64_t presents = app.Stats().presents;
    const uint64_t end = clock.NowMicros() + 40000;
    clock.sleeps = 0;
    app.ProcessMessagesUntil(end, [] { return false; });
    EXPECT_EQ(clock.NowMicros(), end);
    EXPECT_EQ(app.Stats().presents, presents + (drawn ? 1 : 0));
    EXPECT_EQ(clock.sleeps, drawn ? 2 : 1);
  }
}
