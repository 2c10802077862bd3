#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "base/keys.h"
#include "platform/virtual_joystick.h"
#include "screens/options.h"
#include "shell/game_directory_fixture.h"

namespace {

class JoystickProgramTest : public GameDirectoryTest {
 protected:
  void SetUp() override { MakeGameDirectory(3); }
  void TearDown() override {
    GameDirectoryTest::TearDown();
    sticks.clear();
  }
  VirtualJoystick& Plug(const std::string& name) {
    sticks.push_back(std::make_unique<VirtualJoystick>(name));
    EXPECT_TRUE(sticks.back()->Attached());
    return *sticks.back();
  }
  void Start() {
    StartProgram();
    ReachTitleMenu();
  }
  // The names after "Keyboard" in both lists; fails when the lists differ.
  std::vector<std::string> ListedJoysticks() {
    const auto& p1 = program->Options().P1ControlBox->items;
    const auto& p2 = program->Options().P2ControlBox->items;
    EXPECT_EQ(p1, p2);
    EXPECT_FALSE(p1.empty());
    if (p1.empty() || p1[0] != "Keyboard") return {"<no Keyboard first>"};
    return std::vector<std::string>(p1.begin() + 1, p1.end());
  }
  // Our own devices only: the machine may have real ones listed first.
  std::vector<std::string> Ours(const std::vector<std::string>& listed) {
    std::vector<std::string> out;
    for (const std::string& n : listed)
      if (n.rfind("Test ", 0) == 0) out.push_back(n);
    return out;
  }
  // List position of our device `name` (1-based after "Keyboard").
  int PositionOf(const std::string& name) {
    const auto& items = program->Options().P1ControlBox->items;
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i] == name) return static_cast<int>(i);
    return -1;
  }

  std::vector<std::unique_ptr<VirtualJoystick>> sticks;
};

TEST_F(JoystickProgramTest, AttachedControllersAreListedInOrderAfterKeyboard) {
  Start();
  const size_t before = ListedJoysticks().size();
  EXPECT_TRUE(Ours(ListedJoysticks()).empty());
  program.reset();

  Plug("Test Stick A");
  Plug("Test Stick B");
  Start();
  const std::vector<std::string> listed = ListedJoysticks();
  EXPECT_EQ(listed.size(), before + 2);
  EXPECT_EQ(Ours(listed), (std::vector<std::string>{"Test Stick A", "Test Stick B"}));
  EXPECT_EQ(program->Input().JoystickCount(), static_cast<int>(listed.size()));
}

TEST_F(JoystickProgramTest, AtMostTwentyFiveControllersAreListed) {
  for (int i = 0; i < 27; ++i) Plug("Test Stick " + std::to_string(i));
  Start();
  const std::vector<std::string> listed = ListedJoysticks();
  ASSERT_EQ(listed.size(), 25u);
  EXPECT_EQ(program->Input().JoystickCount(), 25);
  // In order, so the first ones attached are kept.
  const std::vector<std::string> ours = Ours(listed);
  ASSERT_FALSE(ours.empty());
  EXPECT_EQ(ours.front(), "Test Stick 0");
}

TEST_F(JoystickProgramTest, JoystickPlayerWalksShootsAndOpensTheMenu) {
  VirtualJoystick& stick = Plug("Test Pad");
  Start();
  const int position = PositionOf("Test Pad");
  ASSERT_GT(position, 0);
  program->Options().P1ControlBox->selectedIndex = position;

  const uint64_t t = Now();
  bool joystickPlayer = false;
  int upLeft = -1, up = -1;
  int shotDirection = 0;
  bool fired = false, menuOpened = false;
  std::vector<std::string> boxes;
  PushKey(VK::F2, t + 5);
  At(t + 200, [&] {
    joystickPlayer = program->InGame() && !program->GameState().Player1.UsesKeyboard;
    boxes = program->OpenBoxes();
    stick.SetStick(-500, -500);
  });
  At(t + 300, [&] {
    upLeft = program->GameState().Player1.MoveDirection;
    stick.SetStick(-300, -900);
  });
  At(t + 400, [&] {
    up = program->GameState().Player1.MoveDirection;
    stick.SetStick(1000, 0);
    stick.SetButton(0, true);
  });
  for (uint64_t ms = t + 410; ms < t + 700; ms += 10)
    At(ms, [&] {
      fired = fired || program->GameState().Player1.Firing;
      shotDirection = program->GameState().Player1.ShotDirection;
    });
  At(t + 700, [&] {
    stick.SetStick(0, 0);
    stick.SetButton(0, false);
  });
  At(t + 800, [&] { stick.SetButton(1, true); });
  At(t + 900, [&] {
    menuOpened = program->GameState().Player1.MenuOpen;
    stick.SetButton(1, false);
  });
  PushKey(VK::Escape, t + 1200);
  PushKey('Y', t + 1300);
  RunFor(1500);

  EXPECT_TRUE(joystickPlayer);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(upLeft, 8);
  EXPECT_EQ(up, 1);
  EXPECT_TRUE(fired);
  EXPECT_EQ(shotDirection, 3);  // a shot went right
  EXPECT_TRUE(menuOpened);
  EXPECT_TRUE(program->InTitleMenu());
}

TEST_F(JoystickProgramTest, ChosenJoystickGoneAtGameStartFallsBackToKeyboard) {
  VirtualJoystick& stick = Plug("Test Leaving");
  Start();
  const int position = PositionOf("Test Leaving");
  ASSERT_GT(position, 0);
  const bool otherDevices = program->Input().JoystickCount() > 1;
  program->Options().P1ControlBox->selectedIndex = position;
  stick.Detach();

  const uint64_t t = Now();
  std::vector<std::string> boxes;
  bool keyboardPlayer = false;
  PushKey(VK::F2, t + 5);
  At(t + 100, [&] { boxes = program->OpenBoxes(); });
  PushKey(VK::Enter, t + 150);
  At(t + 400, [&] { keyboardPlayer = program->InGame() && program->GameState().Player1.UsesKeyboard; });
  PushKey(VK::Escape, t + 500);
  PushKey('Y', t + 600);
  RunFor(800);

  if (otherDevices) GTEST_SKIP() << "another controller is attached to this machine";
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "Error getting player1 joystick. Keyboard will be used.");
  EXPECT_TRUE(keyboardPlayer);
}

TEST_F(JoystickProgramTest, FewerControllersThanChosenOpensTheLastOne) {
  Plug("Test First");
  VirtualJoystick& second = Plug("Test Second");
  Start();
  const int position = PositionOf("Test Second");
  ASSERT_GT(position, 0);
  program->Options().P2ControlBox->selectedIndex = position;
  second.Detach();
  sticks[0]->SetStick(0, 1000);

  const uint64_t t = Now();
  std::vector<std::string> boxes;
  bool player2Joystick = false;
  PushKey(VK::F2, t + 5);  // one player: player 2's joystick is opened all the same
  At(t + 200, [&] {
    boxes = program->OpenBoxes();
    player2Joystick = program->InGame() && !program->GameState().Player2.UsesKeyboard && program->Input().HasJoystick(2);
  });
  PushKey(VK::Escape, t + 300);
  PushKey('Y', t + 400);
  RunFor(600);

  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(player2Joystick);
}

}  // namespace

// Controllers plugged in or out while the program runs.
class JoystickHotplugTest : public JoystickProgramTest {
 protected:
  void OpenOptions() {
    PushKey(VK::F10, Now() + 5);
    RunFor(100);
    ASSERT_EQ(program->Visible(), &program->Options());
  }
  void CloseOptions() {
    PushKey(VK::Escape, Now() + 5);
    RunFor(100);
    ASSERT_TRUE(program->InTitleMenu());
  }
  std::string Chosen(DropDown* box) {
    return box->selectedIndex >= 0 && box->selectedIndex < static_cast<int>(box->items.size())
               ? box->items[box->selectedIndex]
               : "<out of the list>";
  }
};

TEST_F(JoystickHotplugTest, PluggedInAfterStartUpIsListedWhenTheOptionsOpenAndCanBeChosen) {
  Start();
  EXPECT_TRUE(Ours(ListedJoysticks()).empty());
  VirtualJoystick& late = Plug("Test Late");
  OpenOptions();
  EXPECT_EQ(Ours(ListedJoysticks()), std::vector<std::string>{"Test Late"});
  EXPECT_EQ(program->Input().JoystickCount(), static_cast<int>(ListedJoysticks().size()));
  program->Options().P1ControlBox->selectedIndex = PositionOf("Test Late");
  CloseOptions();

  // The controller chosen from the refreshed list drives player 1.
  const uint64_t t = Now();
  bool joystickPlayer = false;
  int direction = -1;
  PushKey(VK::F2, t + 5);
  At(t + 200, [&] {
    joystickPlayer = program->InGame() && !program->GameState().Player1.UsesKeyboard;
    late.SetStick(0, -1000);
  });
  At(t + 300, [&] { direction = program->GameState().Player1.MoveDirection; });
  PushKey(VK::Escape, t + 400);
  PushKey('Y', t + 500);
  RunFor(700);
  EXPECT_TRUE(joystickPlayer);
  EXPECT_EQ(direction, 1);
}

// An unfolded device list answers Escape itself: the list folds back on the device it
// showed and the screen stays; Enter folds it on the device picked. Only the next
// Escape leaves the screen.
TEST_F(JoystickHotplugTest, EscapeFoldsAnUnfoldedDeviceListBeforeLeavingTheScreen) {
  Plug("Test Pad");
  Start();
  OpenOptions();
  DropDown& list = *program->Options().P2ControlBox;
  ASSERT_GE(list.items.size(), 2u);
  program->PushClick(list.ScreenLeft() + 20, list.ScreenTop() + 10, Now() + 5);
  PushKey(VK::Down, Now() + 40);
  RunFor(80);
  ASSERT_TRUE(list.open);
  ASSERT_EQ(list.selectedIndex, 1) << "the arrows move the choice while the list is open";
  PushKey(VK::Escape, Now() + 5);
  RunFor(100);
  EXPECT_EQ(program->Visible(), &program->Options());
  EXPECT_FALSE(list.open);
  EXPECT_EQ(Chosen(&list), "Keyboard");

  // From the keyboard: F4 unfolds the focused list.
  PushKey(VK::F1 + 3, Now() + 5);
  PushKey(VK::Down, Now() + 40);
  PushKey(VK::Enter, Now() + 80);
  RunFor(150);
  EXPECT_FALSE(list.open);
  EXPECT_EQ(list.selectedIndex, 1);
  PushKey(VK::F1 + 3, Now() + 5);
  RunFor(50);
  ASSERT_TRUE(list.open);
  PushKey(VK::Escape, Now() + 5);
  RunFor(100);
  EXPECT_EQ(program->Visible(), &program->Options());
  EXPECT_EQ(list.selectedIndex, 1);
  CloseOptions();
}

TEST_F(JoystickHotplugTest, EachPlayerKeepsTheChosenControllerWhileOthersComeAndGo) {
  VirtualJoystick& first = Plug("Test First");
  Plug("Test Twin");
  Plug("Test Twin");
  Start();
  ASSERT_EQ(Ours(ListedJoysticks()), (std::vector<std::string>{"Test First", "Test Twin", "Test Twin"}));
  DropDown* p1 = program->Options().P1ControlBox;
  DropDown* p2 = program->Options().P2ControlBox;
  p1->selectedIndex = PositionOf("Test First");
  p2->selectedIndex = PositionOf("Test Twin") + 1;  // the second twin

  Plug("Test Newcomer");
  OpenOptions();
  EXPECT_EQ(Ours(ListedJoysticks()),
            (std::vector<std::string>{"Test First", "Test Twin", "Test Twin", "Test Newcomer"}));
  EXPECT_EQ(Chosen(p1), "Test First");
  EXPECT_EQ(p2->selectedIndex, PositionOf("Test Twin") + 1);
  CloseOptions();

  // Player 1's controller goes: the keyboard; player 2's moves up one place.
  const int twinBefore = p2->selectedIndex;
  first.Detach();
  OpenOptions();
  EXPECT_EQ(Ours(ListedJoysticks()), (std::vector<std::string>{"Test Twin", "Test Twin", "Test Newcomer"}));
  EXPECT_EQ(p1->selectedIndex, 0);
  EXPECT_EQ(Chosen(p2), "Test Twin");
  EXPECT_EQ(p2->selectedIndex, twinBefore - 1);
}

TEST_F(JoystickHotplugTest, MappingFileInTheGameDirectoryMakesAJoystickAController) {
  VirtualJoystick& plain = Plug("Test Plain");
  ASSERT_FALSE(plain.MappingGuid().empty());
  std::ofstream(dir / "gamecontrollerdb.txt") << "# our own layouts\n"
                                               << plain.MappingGuid()
                                               << ",Test Mapped Pad,a:b1,b:b0,leftx:a0,lefty:a1,platform:Linux,\n";
  Start();
  EXPECT_EQ(Ours(ListedJoysticks()), std::vector<std::string>{"Test Mapped Pad"});
  // A damaged or missing file changes nothing else.
  program.reset();
  std::ofstream(dir / "gamecontrollerdb.txt") << "not,a mapping\n\x01\x02garbage";
  Start();
  EXPECT_EQ(Ours(ListedJoysticks()).size(), 1u);
}

// Layouts are read by the game's own reader with a limit: a file far beyond any real
// collection (3 GB, sparse) is refused at once with one line naming it, without being
// read, and the first key still leads to the title menu; one within the limit, however
// padded, is used.
TEST_F(JoystickHotplugTest, MappingFilesAreReadWithinALimit) {
  VirtualJoystick& plain = Plug("Test Plain");
  const std::filesystem::path file = dir / "gamecontrollerdb.txt";
  std::ofstream(file).close();
  std::filesystem::resize_file(file, std::uintmax_t{3} << 30);
  auto peakKb = [] {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
  };
  const long peakBefore = peakKb();
  ::testing::internal::CaptureStderr();
  Start();
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_LT(peakKb() - peakBefore, 256 * 1024) << "the file was read";
  const std::string line =
      "TROK Mirel: controller layouts not added: Cannot read \"gamecontrollerdb.txt\": it is "
      "larger than 4194304 bytes.\n";
  const std::size_t at = said.find(line);
  EXPECT_NE(at, std::string::npos) << said;
  EXPECT_EQ(said.find("gamecontrollerdb", at + line.size()), std::string::npos) << "one line: " << said;
  EXPECT_EQ(Ours(ListedJoysticks()), std::vector<std::string>{"Test Plain"});
  program.reset();

  // The layout padded with comment lines to either side of the limit.
  const std::string layout =
      plain.MappingGuid() + ",Test Mapped Pad,a:b1,b:b0,leftx:a0,lefty:a1,platform:Linux,\n";
  const std::string comment = "# " + std::string(1021, '-') + "\n";
  for (const bool over : {true, false}) {
    SCOPED_TRACE(over ? "over the limit" : "within it");
    std::string text = layout;
    const std::size_t size = JoystickSystem::MaxMappingFileBytes + (over ? 1 : 0);
    while (text.size() + comment.size() < size) text += comment;
    text += std::string(size - text.size() - 1, '#') + "\n";
    ASSERT_EQ(text.size(), size);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    Start();
    EXPECT_EQ(Ours(ListedJoysticks()), std::vector<std::string>{over ? "Test Plain" : "Test Mapped Pad"});
    program.reset();
  }
}
