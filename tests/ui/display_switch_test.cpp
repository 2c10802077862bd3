// Alt+Enter between full screen and a resizable window: on every screen, boxes open
// or not, without the Enter reaching anything; and the window itself under SDL's dummy
// video driver (its desktop is 1024 x 768).
#include <SDL.h>

#include "ui_fixture.h"

namespace {

class DisplaySwitch : public HeadlessApp {
 protected:
  void SetUp() override {
    HeadlessApp::SetUp();
    app.onDisplayModeChanged = [this](bool fullScreen) { told.push_back(fullScreen); };
    app.Show(&form);
  }
  // Alt held, Enter pressed (with its character) and released, Alt released.
  void AltEnter(uint64_t at) {
    app.PushInput(KeyDown(VK::Alt), at);
    app.PushInput(KeyDown(VK::Enter), at + 1);
    app.PushInput(Typed('\r'), at + 1);
    app.PushInput(KeyUp(VK::Enter), at + 2);
    app.PushInput(KeyUp(VK::Alt), at + 3);
  }
  AskingForm form{app, "Main", 800, 600};
  std::vector<bool> told;
};

}  // namespace

TEST_F(DisplaySwitch, AltEnterTogglesAndTheEnterReachesNoForm) {
  std::string error;
  ASSERT_TRUE(app.SetFullScreen(800, 600, error));
  AltEnter(clock.NowMs() + 1);
  Pump(10);
  EXPECT_TRUE(app.InWindow());
  EXPECT_FALSE(app.FullScreen());
  EXPECT_EQ(app.ScreenWidth(), 800) << "the logical screen keeps its size";
  EXPECT_EQ(form.log, (std::vector<std::string>{"down 18", "up 18"})) << "only Alt reaches the form";

  // Held, the Enter repeats: one switch per press.
  form.log.clear();
  app.PushInput(KeyDown(VK::Alt), clock.NowMs() + 1);
  InputEvent repeat = KeyDown(VK::Enter);
  repeat.repeat = true;
  app.PushInput(KeyDown(VK::Enter), clock.NowMs() + 2);
  app.PushInput(repeat, clock.NowMs() + 3);
  app.PushInput(repeat, clock.NowMs() + 4);
  app.PushInput(KeyUp(VK::Alt), clock.NowMs() + 5);
  app.PushInput(KeyUp(VK::Enter), clock.NowMs() + 6);
  Pump(10);
  EXPECT_TRUE(app.FullScreen());
  EXPECT_EQ(told, (std::vector<bool>{false, true}));
  EXPECT_EQ(form.log, (std::vector<std::string>{"down 18", "up 18"}));

  // A plain Enter afterwards is the form's again, with its character.
  form.log.clear();
  Press(VK::Enter, '\r');
  Pump(2);
  EXPECT_EQ(form.log, (std::vector<std::string>{"down 13", "char \r", "up 13"}));
}

TEST_F(DisplaySwitch, WorksWhileABoxIsOpenWithoutAnsweringIt) {
  std::string error;
  ASSERT_TRUE(app.SetFullScreen(800, 600, error));
  const uint64_t t = clock.NowMs();
  Press(VK::Escape);
  AltEnter(t + 5);
  app.PushInput(KeyDown('N'), t + 20);
  app.PushInput(KeyUp('N'), t + 21);
  size_t boxesAfterSwitch = 0;
  Timer& look = app.CreateTimer();
  look.onTimer = [&] {
    boxesAfterSwitch = app.OpenBoxTexts().size();
    look.SetInterval(0);
  };
  look.SetInterval(15);
  Pump(40);
  EXPECT_EQ(boxesAfterSwitch, 1u) << "the box stayed open";
  ASSERT_EQ(form.answers, (std::vector<BoxResult>{BoxResult::No}));
  EXPECT_TRUE(app.InWindow());
  EXPECT_EQ(told, (std::vector<bool>{false}));
}

TEST_F(DisplaySwitch, TheSmallWindowBeforeTheDisplaySwitchStaysAsItIs) {
  app.SetWindowed(632, 453);
  AltEnter(clock.NowMs() + 1);
  Pump(10);
  EXPECT_FALSE(app.FullScreen());
  EXPECT_FALSE(app.InWindow());
  EXPECT_TRUE(told.empty());
  EXPECT_EQ(form.log, (std::vector<std::string>{"down 18", "up 18"})) << "the Enter is still nobody's";
}

using DisplaySwitchWindow = WindowedAppTest;

// (The dummy driver keeps no frames: the frame and the resizing are seen under X.)
TEST_F(DisplaySwitchWindow, WindowAtAWholeMultipleFittedAgainWhenResizedAndBackWhereItWasLeft) {
  RecordingForm form(app, "Main", 800, 600);
  app.SetWindowed(632, 453);
  app.Show(&form);
  app.ShowInWindow(800, 600);
  Pump(20);
  SDL_Window* w = nullptr;
  for (Uint32 id = 1; id < 16 && !w; ++id) w = SDL_GetWindowFromID(id);
  ASSERT_NE(w, nullptr);
  int width = 0, height = 0;
  SDL_GetWindowSize(w, &width, &height);
  EXPECT_EQ(width, 800) << "1024 x 768 holds the screen once";
  EXPECT_EQ(height, 600);

  // The player drags it larger: the picture is fitted again, clicks map through it.
  SDL_SetWindowSize(w, 1000, 700);
  Pump(20);
  int clicked = 0;
  auto& pic = form.Add<Picture>("StartImage", 400, 300, 10, 10);
  pic.onClick = [&] { ++clicked; };
  auto clickAt = [&](int x, int y) {
    SDL_Event ev{};
    ev.type = SDL_MOUSEBUTTONDOWN;
    ev.button.button = SDL_BUTTON_LEFT;
    ev.button.state = SDL_PRESSED;
    ev.button.x = x;
    ev.button.y = y;
    SDL_PushEvent(&ev);
    ev.type = SDL_MOUSEBUTTONUP;
    ev.button.state = SDL_RELEASED;
    SDL_PushEvent(&ev);
    Pump(5);
  };
  // 1000 x 700 holds 933 x 700 (7/6) at x 33: (503, 353) shows about (403, 303).
  clickAt(33 + 403 * 7 / 6, 303 * 7 / 6);
  EXPECT_EQ(clicked, 1);
  // The black border beside the picture is nobody's, though the same row in an
  // unscaled window would reach the picture's column.
  clickAt(20, 303 * 7 / 6);
  clickAt(405, 303 * 7 / 6);
  EXPECT_EQ(clicked, 1);

  ASSERT_TRUE(app.ToggleFullScreen());
  Pump(20);
  SDL_GetWindowSize(w, &width, &height);
  EXPECT_EQ(width, 1024);
  EXPECT_EQ(height, 768);
  clickAt(403 * 128 / 100, 303 * 128 / 100);  // 1.28 times, no border at 4:3
  EXPECT_EQ(clicked, 2);

  ASSERT_TRUE(app.ToggleFullScreen());
  Pump(20);
  SDL_GetWindowSize(w, &width, &height);
  EXPECT_EQ(width, 1000) << "back as the player left it";
  EXPECT_EQ(height, 700);
  EXPECT_EQ(app.ComposeScreen().Width(), 800) << "captures keep the logical size";
}

TEST_F(DisplaySwitchWindow, TheKeyboardsAltEnterSwitches) {
  RecordingForm form(app, "Main", 800, 600);
  app.Show(&form);
  std::string error;
  ASSERT_TRUE(app.SetFullScreen(800, 600, error)) << error;
  Pump(5);
  for (auto [alt, altCode] : {std::pair{SDLK_LALT, SDL_SCANCODE_LALT}, {SDLK_RALT, SDL_SCANCODE_RALT}}) {
    const bool wasFull = app.FullScreen();
    PushSdlKey(SDL_KEYDOWN, alt, altCode);
    PushSdlKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
    PushSdlKey(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
    PushSdlKey(SDL_KEYUP, alt, altCode);
    Pump(5);
    EXPECT_NE(app.FullScreen(), wasFull);
    EXPECT_EQ(app.InWindow(), wasFull);
  }
  EXPECT_EQ(form.log, (std::vector<std::string>{"down 18", "up 18", "down 18", "up 18"}));
}
