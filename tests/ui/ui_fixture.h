#pragma once
// A headless app on virtual time with a form that records what reaches it.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include <string>
#include <vector>

#include "ui/app.h"
#include "ui/form.h"
#include "base/keys.h"

class RecordingForm : public Form {
 public:
  RecordingForm(App& a, const std::string& n, int w = 320, int h = 200, Color back = Black)
      : Form(a, n, w, h, back) {}
  void FormKeyDown(int vk) override { log.push_back("down " + std::to_string(vk)); }
  void FormKeyUp(int vk) override { log.push_back("up " + std::to_string(vk)); }
  void FormKeyPress(char c) override { log.push_back(std::string("char ") + c); }
  void FormShow() override { ++shows; }
  void FormPaint() override { ++paints; }
  void FormClose() override { ++closes; }
  std::vector<std::string> log;
  int shows = 0, paints = 0, closes = 0;
};

// Escape's release asks "Quit to system?" in a box, as the title menu does; the answers
// are kept.
class AskingForm : public RecordingForm {
 public:
  using RecordingForm::RecordingForm;
  void FormKeyUp(int vk) override {
    RecordingForm::FormKeyUp(vk);
    if (vk == VK::Escape) answers.push_back(app.MessageBox(BoxKind::Confirmation, "Quit to system?"));
  }
  std::vector<BoxResult> answers;
};

// A key event as SDL's keyboard sends it (for the tests with a window).
inline void PushSdlKey(Uint32 type, SDL_Keycode sym, SDL_Scancode code, Uint16 mod = KMOD_NONE) {
  SDL_Event ev{};
  ev.type = type;
  ev.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  ev.key.keysym.sym = sym;
  ev.key.keysym.scancode = code;
  ev.key.keysym.mod = mod;
  SDL_PushEvent(&ev);
}

inline InputEvent Key(InputEvent::Type type, int vk) {
  InputEvent e;
  e.type = type;
  e.vk = vk;
  return e;
}
inline InputEvent KeyDown(int vk) { return Key(InputEvent::Type::KeyDown, vk); }
inline InputEvent KeyUp(int vk) { return Key(InputEvent::Type::KeyUp, vk); }
inline InputEvent Typed(char c) {
  InputEvent e;
  e.type = InputEvent::Type::Char;
  e.ch = c;
  return e;
}
inline InputEvent Mouse(InputEvent::Type type, int x, int y, MouseButton b = MouseButton::Left) {
  InputEvent e;
  e.type = type;
  e.x = x;
  e.y = y;
  e.button = b;
  return e;
}

// Virtual time that counts how often a loop went to sleep.
struct CountingClock : VirtualClock {
  void SleepUntilMicros(uint64_t micros) override {
    ++sleeps;
    VirtualClock::SleepUntilMicros(micros);
  }
  int sleeps = 0;
};

// The app on virtual time: headless, or with a real window under SDL's dummy video
// driver (skipped under any other).
template <bool kHeadless>
class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (!kHeadless && (!driver || std::string(driver) != "dummy")) GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    std::string error;
    ASSERT_TRUE(app.Init(error)) << error;
  }
  // Pumps until the virtual clock has advanced `ms`, a millisecond at a time.
  void Pump(int ms) {
    for (int i = 0; i < ms; ++i) {
      app.ProcessMessages();
      app.SleepMs(1);
    }
  }
  // Pushes a key press as the keyboard sends it: down, typed character, up.
  void Press(int vk, char typed = 0) {
    app.PushInput(KeyDown(vk));
    if (typed) app.PushInput(Typed(typed));
    app.PushInput(KeyUp(vk));
  }
  void Click(int x, int y) {
    app.PushInput(Mouse(InputEvent::Type::MouseDown, x, y));
    app.PushInput(Mouse(InputEvent::Type::MouseUp, x, y));
  }

  VirtualClock clock;
  App app{clock, kHeadless};
};

using HeadlessApp = AppFixture<true>;
using WindowedAppTest = AppFixture<false>;
