// Alt+Enter through the real program: full screen and the window on every screen,
// with its Enter reaching nothing, and the choice kept in Display.dat for the next run
// whatever a player or something worse left under that name.
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "base/keys.h"
#include "screens/display_choice.h"
#include "shell/game_directory_fixture.h"
#include "support/watchdog.h"

namespace fs = std::filesystem;

namespace {

const char* const AbortQuestion = "Abort game and return to menu?";

std::string Text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class DisplayChoiceTest : public GameDirectoryTest {
 protected:
  // Alt held, Enter pressed and released (the character the keyboard sends with it
  // too), Alt released; then a moment for the screen to follow.
  void AltEnter() {
    const uint64_t t = Now();
    Push(InputEvent::Type::KeyDown, VK::Alt, t + 2);
    Push(InputEvent::Type::KeyDown, VK::Enter, t + 3);
    PushChar('\r', t + 3);
    Push(InputEvent::Type::KeyUp, VK::Enter, t + 4);
    Push(InputEvent::Type::KeyUp, VK::Alt, t + 5);
    RunFor(30);
  }
  void QuitFromTitleMenu() {
    PushKey(VK::Escape, Now() + 5);
    PushKey('Y', Now() + 100);
    RunFor(300);
    ASSERT_TRUE(program->Terminated());
  }
};

}  // namespace

TEST_F(DisplayChoiceTest, AltEnterOnEveryScreenNeverReachesTheGameAndIsKept) {
  MakeGameDirectory(1);
  StartProgram();
  ReachTitleMenu();
  EXPECT_TRUE(program->FullScreen()) << "full screen unless the player chose otherwise";
  EXPECT_FALSE(fs::exists(dir / DisplayChoiceFileName)) << "nothing written until a switch";

  AltEnter();
  EXPECT_TRUE(program->InWindow());
  EXPECT_TRUE(program->InTitleMenu());
  EXPECT_EQ(Text(dir / DisplayChoiceFileName), "window\n");
  EXPECT_EQ(program->Capture().Width(), 800) << "captures keep the screen's size";
  EXPECT_EQ(program->Capture().Height(), 600);

  PushKey(VK::F10, Now() + 5);
  RunFor(50);
  ASSERT_EQ(program->Visible(), &program->Options());
  AltEnter();
  EXPECT_TRUE(program->FullScreen());
  EXPECT_EQ(Text(dir / DisplayChoiceFileName), "fullscreen\n");
  EXPECT_EQ(program->Visible(), &program->Options());
  PushKey(VK::Escape, Now() + 5);
  RunFor(50);
  ASSERT_TRUE(program->InTitleMenu());

  // In a game, with the abort question open: Enter would answer Yes. The game runs
  // inside the key handler that started it, so its steps are scripted ahead.
  const uint64_t t = Now();
  bool inGame = false, windowInGame = false, questionKept = false, fullInBox = false, goesOn = false,
       windowAgain = false;
  auto altEnterAt = [&](uint64_t at) {
    Push(InputEvent::Type::KeyDown, VK::Alt, at);
    Push(InputEvent::Type::KeyDown, VK::Enter, at + 1);
    PushChar('\r', at + 1);
    Push(InputEvent::Type::KeyUp, VK::Enter, at + 2);
    Push(InputEvent::Type::KeyUp, VK::Alt, at + 3);
  };
  PushKey(VK::F2, t + 5);
  At(t + 300, [&] { inGame = program->InGame() && !program->GameStopped(); });
  altEnterAt(t + 310);
  At(t + 350, [&] { windowInGame = program->InWindow() && program->InGame() && !program->GameStopped(); });
  PushKey(VK::Escape, t + 400);
  altEnterAt(t + 500);
  At(t + 550, [&] {
    questionKept = program->OpenBoxes() == std::vector<std::string>{AbortQuestion};
    fullInBox = program->FullScreen();
  });
  PushKey('N', t + 600);
  At(t + 700, [&] { goesOn = program->OpenBoxes().empty() && program->InGame() && !program->GameStopped(); });
  altEnterAt(t + 710);
  At(t + 750, [&] { windowAgain = program->InWindow() && !program->GameStopped(); });
  PushKey(VK::Escape, t + 800);
  PushKey('Y', t + 900);
  RunFor(1200);
  EXPECT_TRUE(inGame);
  EXPECT_TRUE(windowInGame);
  EXPECT_TRUE(questionKept) << "the box is not answered";
  EXPECT_TRUE(fullInBox);
  EXPECT_TRUE(goesOn) << "the game goes on";
  EXPECT_TRUE(windowAgain);
  ASSERT_TRUE(program->InTitleMenu());
  EXPECT_EQ(Text(dir / DisplayChoiceFileName), "window\n");
  QuitFromTitleMenu();
  const std::string options = Text(dir / "Options.dat");

  // The next run starts in the window; Options.dat is what a run without switching
  // writes.
  StartProgram();
  EXPECT_FALSE(program->InWindow()) << "the welcome text is the small window";
  ReachTitleMenu();
  EXPECT_TRUE(program->InWindow());
  EXPECT_FALSE(program->FullScreen());
  QuitFromTitleMenu();
  EXPECT_EQ(Text(dir / "Options.dat"), options);
  EXPECT_EQ(options.find("window"), std::string::npos);
}

TEST_F(DisplayChoiceTest, DamagedOrHostileFileMeansFullScreenWithoutABoxOrAWait) {
  Watchdog watchdog;
  MakeGameDirectory(1);
  const fs::path file = dir / DisplayChoiceFileName;
  auto damage = [&](const std::string& how) {
    fs::remove_all(file);
    if (how == "folder") {
      fs::create_directory(file);
    } else if (how == "fifo") {
      ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
    } else if (how == "dangling link") {
      fs::create_symlink(dir / "nowhere", file);
    } else if (how == "long") {
      std::ofstream(file, std::ios::binary) << std::string(100, ' ') << "window\n";
    } else if (how != "missing") {
      std::ofstream(file, std::ios::binary) << how;
    }
  };
  for (const std::string& how : std::vector<std::string>{"missing", "folder", "fifo", "dangling link", "long", "", "windows\n",
                                 "full screen\n", std::string("win\0dow\n", 8), "\xff\xfe"}) {
    SCOPED_TRACE(how);
    damage(how);
    StartProgram();
    ReachTitleMenu();
    EXPECT_TRUE(program->FullScreen());
    EXPECT_TRUE(program->OpenBoxes().empty());
    program.reset();
  }
  // The word with blanks and a Windows line end around it is still the word.
  damage("  window\r\n");
  StartProgram();
  ReachTitleMenu();
  EXPECT_TRUE(program->InWindow());
}

TEST_F(DisplayChoiceTest, SwitchingWhereTheChoiceCannotBeSavedStillSwitchesQuietly) {
  Watchdog watchdog;
  MakeGameDirectory(1);
  const fs::path file = dir / DisplayChoiceFileName;
  fs::create_directory(file);
  StartProgram();
  ReachTitleMenu();
  AltEnter();
  EXPECT_TRUE(program->InWindow());
  EXPECT_TRUE(program->OpenBoxes().empty());
  EXPECT_TRUE(fs::is_directory(file)) << "a folder under the name is left alone";
  program.reset();
  fs::remove(file);

  // A FIFO under the name neither catches the save nor holds the program up.
  ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
  StartProgram();
  ReachTitleMenu();
  AltEnter();
  EXPECT_TRUE(program->InWindow());
  EXPECT_TRUE(program->OpenBoxes().empty());
  EXPECT_TRUE(fs::is_fifo(file));
  program.reset();
  fs::remove(file);

  // A link is followed and stays a link, as Options.dat's does.
  std::ofstream(dir / "kept-elsewhere") << "fullscreen\n";
  fs::create_symlink(dir / "kept-elsewhere", file);
  StartProgram();
  ReachTitleMenu();
  AltEnter();
  EXPECT_TRUE(fs::is_symlink(file));
  EXPECT_EQ(Text(dir / "kept-elsewhere"), "window\n");
  program.reset();

  // An unwritable game directory: the switch works, nothing is written.
  fs::remove(file);
  fs::permissions(dir, fs::perms::owner_write, fs::perm_options::remove);
  StartProgram();
  ReachTitleMenu();
  AltEnter();
  EXPECT_TRUE(program->InWindow());
  EXPECT_TRUE(program->OpenBoxes().empty());
  program.reset();
  fs::permissions(dir, fs::perms::owner_write, fs::perm_options::add);
  if (::geteuid() != 0) {
    EXPECT_FALSE(fs::exists(file));
  }
}
