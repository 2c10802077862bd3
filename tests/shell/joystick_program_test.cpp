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
