#include "base/keys.h"
#include "shell/game_directory_fixture.h"

namespace {

class TitleMenuTest : public GameDirectoryTest {
 protected:
  void Mouse(InputEvent::Type type, int x, int y, uint64_t atMs, MouseButton button = MouseButton::Left) {
    program->PushMouse(type, x, y, atMs, button);
  }
  // Screen points of the menu (the menu box lies at 51, 31): the up arrow's middle and
  // the "Players" caption on its plate.
  static constexpr int UpArrowX = 51 + 288 + 21, UpArrowY = 31 + 358 + 21;
  static constexpr int PlayersCaptionX = 51 + 435 + 20, PlayersCaptionY = 31 + 358 + 15;
};

TEST_F(TitleMenuTest, WelcomeTextWaitsForATypedCharacter) {
  MakeGameDirectory(3);
  StartProgram();
  EXPECT_TRUE(program->WelcomeShown());
  EXPECT_EQ(program->MainWindow().ClientWidth(), 632);
  // Keys that type nothing leave the welcome text alone.
  PushKey(VK::F2, 5);
  PushKey(VK::Down, 30);
  RunFor(60);
  EXPECT_FALSE(program->StartupBegun());
  EXPECT_TRUE(program->WelcomeShown());

  PushChar('x', Now() + 5);
  RunFor(50);
  EXPECT_TRUE(program->StartupDone());
  EXPECT_TRUE(program->InTitleMenu());
  EXPECT_EQ(program->GameState().LevelCount, 3);
  EXPECT_EQ(program->MainWindow().ClientWidth(), 800);
  EXPECT_EQ(program->Cursor(), CursorKind::Arrow);
}

TEST_F(TitleMenuTest, PlayersToggleAndLevelsWrap) {
  MakeGameDirectory(3);
  StartProgram();
  ReachTitleMenu();
  EXPECT_EQ(program->PlayersLabel(), "1");
  PushKey(VK::F7, Now() + 5);
  RunFor(50);
  EXPECT_EQ(program->PlayersLabel(), "2");
  PushKey(VK::F7, Now() + 5);
  RunFor(50);
  EXPECT_EQ(program->PlayersLabel(), "1");

  // F5 from 0 wraps to the last level; F6 from the last wraps to 0.
  PushKey(VK::F5, Now() + 5);
  RunFor(300);
  EXPECT_EQ(program->LevelLabel(), "2");
  PushKey(VK::F6, Now() + 5);
  RunFor(300);
  EXPECT_EQ(program->LevelLabel(), "0");
}

TEST_F(TitleMenuTest, HeldArrowRepeatsAndKeyboardRepeatIsIgnored) {
  MakeGameDirectory(3);
  StartProgram();
  ReachTitleMenu();
  const uint64_t t = Now() + 5;
  Push(InputEvent::Type::KeyDown, VK::Up, t);
  // The keyboard's own repeat arrives while the arrow is held: no extra steps.
  for (int i = 1; i <= 7; ++i) Push(InputEvent::Type::KeyDown, VK::Up, t + 30 * i);
  // Held about 210 + 35 ms: one step, then one repeat.
  Push(InputEvent::Type::KeyUp, VK::Up, t + 230);
  RunFor(400);
  EXPECT_EQ(program->LevelLabel(), "2");
  EXPECT_FALSE(program->LevelArrowHeld(true));
}

TEST_F(TitleMenuTest, ArrowHeldWithTheLeftButtonRepeatsAndCaptionsWorkTheirPlates) {
  MakeGameDirectory(3);
  StartProgram();
  ReachTitleMenu();
  // Another button on the arrow does nothing.
  Mouse(InputEvent::Type::MouseDown, UpArrowX, UpArrowY, Now() + 5, MouseButton::Right);
  Mouse(InputEvent::Type::MouseUp, UpArrowX, UpArrowY, Now() + 300, MouseButton::Right);
  RunFor(350);
  EXPECT_EQ(program->LevelLabel(), "0");
  // Held about 210 + 35 ms: one step, then one repeat.
  const uint64_t t = Now() + 5;
  Mouse(InputEvent::Type::MouseDown, UpArrowX, UpArrowY, t);
  At(t + 100, [&] { EXPECT_TRUE(program->LevelArrowHeld(true)); });
  Mouse(InputEvent::Type::MouseUp, UpArrowX, UpArrowY, t + 230);
  RunFor(400);
  EXPECT_EQ(program->LevelLabel(), "2");
  EXPECT_FALSE(program->LevelArrowHeld(true));

  program->PushClick(PlayersCaptionX, PlayersCaptionY, Now() + 5);
  RunFor(60);
  EXPECT_EQ(program->PlayersLabel(), "2");
}

TEST_F(TitleMenuTest, NonNumericLevelCaptionFallsBackToZero) {
  MakeGameDirectory(3);
  StartProgram();
  ReachTitleMenu();
  program->SetLevelLabel("x");
  PushKey(VK::F6, Now() + 5);
  RunFor(300);
  EXPECT_EQ(program->LevelLabel(), "0");
}

TEST_F(TitleMenuTest, EscapeAsksAndNoChangesNothing) {
  MakeGameDirectory(3);
  StartProgram();
  ReachTitleMenu();
  std::vector<std::string> seen;
  PushKey(VK::Escape, Now() + 5);
  At(Now() + 100, [&] { seen = program->OpenBoxes(); });
  Push(InputEvent::Type::KeyDown, 'N', Now() + 150);
  Push(InputEvent::Type::KeyUp, 'N', Now() + 170);
  RunFor(250);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], "Quit to system?");
  EXPECT_TRUE(program->OpenBoxes().empty());
  EXPECT_FALSE(program->Terminated());
  EXPECT_TRUE(program->InTitleMenu());
  EXPECT_EQ(program->PlayersLabel(), "1");
}

TEST_F(TitleMenuTest, EscapeAndYesQuits) {
  MakeGameDirectory(3);
  StartProgram();
  ReachTitleMenu();
  PushKey(VK::Escape, Now() + 5);
  Push(InputEvent::Type::KeyDown, 'Y', Now() + 100);
  RunFor(200);
  EXPECT_TRUE(program->Terminated());
}

TEST_F(TitleMenuTest, OnlyTheUnbrokenRunOfLevelsCounts) {
  MakeGameDirectory(3);
  std::filesystem::remove("FELDS/FELD.01");
  StartProgram();
  ReachTitleMenu();
  EXPECT_EQ(program->GameState().LevelCount, 1);
}

TEST_F(TitleMenuTest, NoLevelsEndsTheProgram) {
  MakeGameDirectory(0);
  StartProgram();
  std::vector<std::string> seen;
  PushChar('a', 5);
  At(50, [&] { seen = program->OpenBoxes(); });
  Push(InputEvent::Type::KeyDown, VK::Enter, 80);
  RunFor(200);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_NE(seen[0].find("no levels found"), std::string::npos);
  EXPECT_TRUE(program->Terminated());
}

}  // namespace
