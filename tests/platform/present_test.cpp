// The windowed pump under SDL's dummy video driver: what it composes and presents.
// Counts, not timings: an unchanged screen must cost no composing at all.
#include <cstdlib>

#include "platform_fixture.h"

namespace {

class WindowedApp : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (!driver || std::string(driver) != "dummy") GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    std::string error;
    ASSERT_TRUE(app.Init(error)) << error;
  }
  void Pump(int ms) {
    for (int i = 0; i < ms; ++i) {
      app.ProcessMessages();
      app.SleepMs(1);
    }
  }
  VirtualClock clock;
  App app{clock, false};
};

}  // namespace

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

  // A control changed by plain assignment is noticed: one compose, one present.
  label.text = "Changed";
  Pump(100);
  EXPECT_EQ(app.Stats().fullComposes, first.fullComposes + 1);
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
  EXPECT_EQ(app.Stats().fullComposes, first.fullComposes + 1);
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
