// What the window shows after every kind of change: always exactly a fresh
// composition of the screen, though only the changed parts are composed. Under SDL's
// dummy video driver, with the window at the logical size (one window pixel per
// screen pixel).
#include <SDL.h>

#include <cstring>

#include "platform/screen_scaler.h"
#include "ui_fixture.h"

namespace {

constexpr Color kNavy{1, 0, 51};

class AskingDialog : public RecordingForm {
 public:
  using RecordingForm::RecordingForm;
  void FormKeyDown(int vk) override {
    RecordingForm::FormKeyDown(vk);
    if (vk == VK::Escape && onEscape) onEscape();
  }
  std::function<void()> onEscape;
};

class TrackedScreen : public WindowedAppTest {
 protected:
  void SetUp() override {
    WindowedAppTest::SetUp();
    if (!IsSkipped()) app.SetWindowed(400, 300);
  }
  // The window's own pixels, as SDL holds them.
  static Image Shown() {
    SDL_Window* w = nullptr;
    for (Uint32 id = 1; id < 16 && !w; ++id) w = SDL_GetWindowFromID(id);
    SDL_Surface* s = w ? SDL_GetWindowSurface(w) : nullptr;
    if (!s || s->format->BytesPerPixel != 4) return Image();
    Image img(s->w, s->h);
    for (int y = 0; y < s->h; ++y)
      std::memcpy(img.Pixels().data() + static_cast<size_t>(y) * s->w,
                  static_cast<const uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch,
                  static_cast<size_t>(s->w) * 4);
    for (uint32_t& p : img.Pixels()) p &= 0xFFFFFFu;
    return img;
  }
  // The window agrees with a fresh composition, pixel for pixel.
  void ExpectShownIsComposed(const char* step) {
    Image shown = Shown(), composed = app.ComposeScreen();
    ASSERT_EQ(shown.Width(), composed.Width()) << step;
    ASSERT_EQ(shown.Height(), composed.Height()) << step;
    int differing = 0;
    for (size_t i = 0; i < shown.Pixels().size(); ++i) differing += shown.Pixels()[i] != composed.Pixels()[i];
    EXPECT_EQ(differing, 0) << step;
  }
};

}  // namespace

TEST_F(TrackedScreen, EveryKindOfChangeShowsAsAFreshCompositionWouldShowIt) {
  RecordingForm form(app, "Main", 400, 300, kNavy);
  auto& title = form.Add<Label>("Title", 10, 10, 0, 0);
  title.SetText("Level 1");
  auto& panel = form.Add<Panel>("Panel", 50, 60, 200, 80);
  panel.background = Color{0, 80, 0};
  auto& inside = form.Add<Label>("Inside", 5, 5, 0, 0, &panel);
  inside.color = White;
  inside.SetText("Points 0");
  auto& picture = form.Add<Picture>("Picture", 300, 20, 40, 40);
  picture.image = Image(4, 4, Color{200, 0, 0});
  auto& drop = form.Add<DropDown>("Device", 260, 150, 120, 22);
  drop.items = {"Keyboard", "Joystick 1", "Joystick 2"};
  auto& edit = form.Add<EditField>("Speed", 260, 100, 60, 30);
  edit.text = "16";
  app.Show(&form);
  Pump(40);
  ExpectShownIsComposed("first picture");

  inside.text = "Points 12345";  // longer: the fitted label grows
  Pump(20);
  ExpectShownIsComposed("label grew");
  inside.text = "P";
  Pump(20);
  ExpectShownIsComposed("label shrank");
  panel.left = 120;
  Pump(20);
  ExpectShownIsComposed("panel moved");
  panel.visible = false;
  Pump(20);
  ExpectShownIsComposed("panel hidden");
  picture.image = Image(4, 4, Color{0, 0, 200});
  Pump(20);
  ExpectShownIsComposed("picture replaced");
  drop.open = true;  // the list unfolds over the field below it
  Pump(20);
  ExpectShownIsComposed("list unfolded");
  drop.open = false;
  form.SetFocus(&edit);
  Pump(20);
  ExpectShownIsComposed("list folded, focus moved");
  form.canvas.FillRect(0, 200, 40, 40, White);
  form.InvalidateRect(0, 200, 40, 40);
  Pump(20);
  ExpectShownIsComposed("announced canvas drawing");
}

TEST_F(TrackedScreen, ModalLayersComposeOnlyTheirOwnArea) {
  RecordingForm main(app, "Main", 400, 300, kNavy);
  AskingDialog dialog(app, "Name", 200, 100, White);
  auto& field = dialog.Add<EditField>("NameEdit", 10, 10, 150, 30);
  field.text = "abc";
  app.Show(&main);
  Pump(40);
  const PresentStats before = app.Stats();
  int step = 0;
  Timer& timer = app.CreateTimer();
  timer.onTimer = [&] {
    switch (step++) {
      case 0:
        ExpectShownIsComposed("modal form opened");
        EXPECT_EQ(app.Stats().fullComposes, before.fullComposes) << "only the form's area";
        field.text = "abcdef";
        break;
      case 1:
        ExpectShownIsComposed("field in the modal form changed");
        app.PushInput(KeyDown(VK::Escape));
        break;
      case 2:
        ExpectShownIsComposed("box over the modal form");
        app.PushInput(KeyDown(VK::Right));  // moves the default button
        break;
      case 3:
        ExpectShownIsComposed("default button moved");
        app.PushInput(KeyDown(VK::Enter));
        break;
      default:
        timer.SetInterval(0);
        dialog.modalDone = true;
    }
  };
  dialog.onEscape = [&] { app.MessageBox(BoxKind::Confirmation, "Leave?"); };
  timer.SetInterval(30);
  app.ShowModal(dialog);
  Pump(30);
  ExpectShownIsComposed("modal form closed");
  EXPECT_EQ(app.Stats().fullComposes, before.fullComposes);
  EXPECT_GE(step, 5);
}

TEST_F(TrackedScreen, ALostPictureIsShownAgainWithoutComposing) {
  RecordingForm form(app, "Main", 400, 300, kNavy);
  app.Show(&form);
  Pump(40);
  const PresentStats before = app.Stats();
  SDL_Event exposed{};
  exposed.type = SDL_WINDOWEVENT;
  exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
  SDL_PushEvent(&exposed);
  Pump(20);
  EXPECT_EQ(app.Stats().presents, before.presents + 1);
  EXPECT_EQ(app.Stats().fullComposes + app.Stats().partialComposes,
            before.fullComposes + before.partialComposes);
  ExpectShownIsComposed("shown again");
}

TEST_F(TrackedScreen, OverTheDesktopChangesAreScaledIntoTheLetterboxedPicture) {
  RecordingForm form(app, "Main", 600, 600, kNavy);
  auto& label = form.Add<Label>("Points", 100, 100, 0, 0);
  label.color = White;
  label.SetText("0");
  app.Show(&form);
  std::string error;
  ASSERT_TRUE(app.SetFullScreen(600, 600, error)) << error;  // the dummy desktop is 1024 x 768
  Pump(40);
  label.text = "12345";
  form.canvas.FillRect(300, 300, 32, 32, White);
  form.InvalidateRect(300, 300, 32, 32);
  Pump(20);
  Image shown = Shown();
  ASSERT_EQ(shown.Width(), 1024);
  ASSERT_EQ(shown.Height(), 768);
  ScreenScaler scaler;
  scaler.Configure(600, 600, FitScreen(1024, 768, 600, 600));
  std::vector<uint32_t> expected(1024 * 768, 0);
  scaler.Scale(app.ComposeScreen(), {0, 0, 600, 600}, expected.data(), 1024);
  EXPECT_EQ(shown.Pixels(), expected) << "scaled 1.28 times at x 128, black beside it";
}
