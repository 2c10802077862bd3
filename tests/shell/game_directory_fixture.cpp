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

void GameDirectoryTest::LinkGameFolders(std::initializer_list<const char*> folders) {
  for (const char* folder : folders) fs::create_directory_symlink(fs::path(TROK_GAME_DIR) / folder, dir / folder);
}

void GameDirectoryTest::StartProgram(std::unique_ptr<AudioDoor> audio) {
  program = std::make_unique<HeadlessProgram>(std::move(audio));
  std::string error;
  ASSERT_TRUE(program->Start(error)) << error;
}

void GameDirectoryTest::ReachTitleMenu() {
  PushChar('a', Now() + 5);
  RunFor(50);
  ASSERT_TRUE(program->InTitleMenu());
}

void GameDirectoryTest::AnswerBoxes(uint64_t fromMs, int checks) {
  for (int k = 0; k < checks; ++k)
    At(fromMs + 100 * static_cast<uint64_t>(k), [this] {
      const std::vector<std::string>& open = program->OpenBoxes();
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
