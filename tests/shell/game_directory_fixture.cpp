#include "shell/game_directory_fixture.h"

#include <unistd.h>

#include <algorithm>

#include "base/keys.h"

namespace fs = std::filesystem;

void GameDirectoryTest::MakeGameDirectory(int levels) {
  const fs::path game(TROK_GAME_DIR);
  // Parameterised tests have a '/' in their name.
  std::string testName = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  std::replace(testName.begin(), testName.end(), '/', '_');
  dir = fs::temp_directory_path() / ("trok-test-" + std::to_string(::getpid()) + "-" + testName);
  fs::remove_all(dir);
  fs::create_directories(dir / "FELDS");
  fs::create_directory_symlink(game / "Objects", dir / "Objects");
  for (int n = 0; n < levels; ++n) {
    char name[16];
    std::snprintf(name, sizeof name, "FELD.%02d", n);
    fs::copy_file(game / "FELDS" / name, dir / "FELDS" / name);
  }
  fs::copy_file(game / "HighScores.dat", dir / "HighScores.dat");
  previousDir = fs::current_path();
  fs::current_path(dir);
}

void GameDirectoryTest::StartProgram() {
  program = std::make_unique<Program>(clock, true);
  std::string error;
  ASSERT_TRUE(program->Init(error)) << error;
  main = program->mainForm.get();
}

void GameDirectoryTest::RunFor(int ms) {
  const uint64_t end = clock.NowMs() + static_cast<uint64_t>(ms);
  while (clock.NowMs() < end && !program->app.Terminated()) {
    program->app.ProcessMessages();
    clock.SleepMs(1);
  }
}

void GameDirectoryTest::Push(InputEvent::Type type, int vk, uint64_t atMs) {
  InputEvent e;
  e.type = type;
  e.vk = vk;
  program->app.PushInput(e, atMs);
}

void GameDirectoryTest::PushChar(char c, uint64_t atMs) {
  InputEvent e;
  e.type = InputEvent::Type::Char;
  e.ch = c;
  program->app.PushInput(e, atMs);
}

void GameDirectoryTest::At(uint64_t atMs, std::function<void()> check) {
  Timer& t = program->app.CreateTimer();
  t.onTimer = [&t, check = std::move(check)] {
    t.SetInterval(0);
    check();
  };
  t.SetInterval(static_cast<int>(atMs - clock.NowMs()));
}

void GameDirectoryTest::ReachTitleMenu() {
  PushChar('a', Now() + 5);
  RunFor(50);
  ASSERT_TRUE(main->InTitleMenu());
}

void GameDirectoryTest::AnswerBoxes(uint64_t fromMs, int checks) {
  for (int k = 0; k < checks; ++k)
    At(fromMs + 100 * static_cast<uint64_t>(k), [this] {
      const std::vector<std::string>& open = program->app.OpenBoxTexts();
      if (open.empty()) return;
      boxesSeen.push_back(open.back());
      Push(InputEvent::Type::KeyDown, VK::Enter, Now() + 1);
      Push(InputEvent::Type::KeyUp, VK::Enter, Now() + 20);
    });
}

void GameDirectoryTest::TearDown() {
  program.reset();
  if (!previousDir.empty()) fs::current_path(previousDir);
  if (!dir.empty()) fs::remove_all(dir);
}
