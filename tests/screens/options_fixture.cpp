#include "options_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

void OptionsTest::SetUp() {
  std::string testName = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  std::replace(testName.begin(), testName.end(), '/', '_');
  dir = fs::temp_directory_path() / ("trok-options-" + std::to_string(::getpid()) + "-" + testName);
  fs::remove_all(dir);
  fs::create_directories(dir);
  previousDir = fs::current_path();
  fs::current_path(dir);
  std::string error;
  ASSERT_TRUE(app.Init(error)) << error;
  // A box is open while the key that answers it arrives.
  app.onEvent = [this](const InputEvent& e) {
    if (e.type == InputEvent::Type::KeyDown && !app.OpenBoxTexts().empty())
      boxes.push_back(app.OpenBoxTexts().back());
  };
}

void OptionsTest::TearDown() {
  form.reset();
  if (!previousDir.empty()) fs::current_path(previousDir);
  std::error_code ignored;
  fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(dir, ignored);
}

TOptionsForm& OptionsTest::MakeForm() {
  form = std::make_unique<TOptionsForm>(app);
  form->showTitleMenu = [this] { ++titleMenuShown; };
  app.Show(form.get());
  return *form;
}

void OptionsTest::Pump(int ms) {
  for (int i = 0; i < ms; ++i) {
    app.ProcessMessages();
    clock.SleepMs(1);
  }
}

void OptionsTest::Press(int vk) {
  InputEvent e;
  e.vk = vk;
  e.type = InputEvent::Type::KeyDown;
  app.PushInput(e, clock.NowMs());
  e.type = InputEvent::Type::KeyUp;
  app.PushInput(e, clock.NowMs() + 2);
  Pump(5);
}

void OptionsTest::Type(char c) {
  InputEvent e;
  e.type = InputEvent::Type::Char;
  e.ch = c;
  app.PushInput(e, clock.NowMs());
  Pump(2);
}

void OptionsTest::Click(const Control& c) {
  InputEvent e;
  e.x = c.ScreenLeft() + c.width / 2;
  e.y = c.ScreenTop() + c.height / 2;
  e.type = InputEvent::Type::MouseDown;
  app.PushInput(e, clock.NowMs());
  e.type = InputEvent::Type::MouseUp;
  app.PushInput(e, clock.NowMs() + 2);
  Pump(5);
}

void OptionsTest::AnswerBoxes(const std::vector<int>& keys) {
  uint64_t at = clock.NowMs();
  for (int vk : keys) {
    at += 10;
    InputEvent e;
    e.vk = vk;
    e.type = InputEvent::Type::KeyDown;
    app.PushInput(e, at);
    e.type = InputEvent::Type::KeyUp;
    app.PushInput(e, at + 2);
  }
}

void OptionsTest::WriteFile(const std::string& text) {
  std::ofstream out(OptionsFileName, std::ios::binary | std::ios::trunc);
  out << text;
}

std::string OptionsTest::ReadFile() {
  std::ifstream in(OptionsFileName, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}
