#include "base/keys.h"
#include "shell/game_directory_fixture.h"

namespace {

class TitleMenuTest : public GameDirectoryTest {};

TEST_F(TitleMenuTest, WelcomeTextWaitsForATypedCharacter) {
  MakeGameDirectory(3);
  StartProgram();
  EXPECT_TRUE(main->WelcomeLbl->visible);
  EXPECT_EQ(main->ClientWidth(), 632);
  // Keys that type nothing leave the welcome text alone.
  PushKey(VK::F2, 5);
  PushKey(VK::Down, 30);
  RunFor(60);
  EXPECT_FALSE(main->StartupBegun);
  EXPECT_TRUE(main->WelcomeLbl->visible);

  PushChar('x', Now() + 5);
  RunFor(50);
  EXPECT_TRUE(main->StartupDone);
  EXPECT_TRUE(main->InTitleMenu());
  EXPECT_EQ(main->game.LevelCount, 3);
  EXPECT_EQ(main->ClientWidth(), 800);
  EXPECT_EQ(program->app.Cursor(), CursorKind::Arrow);
}

TEST_F(TitleMenuTest, PlayersToggleAndLevelsWrap) {
  MakeGameDirectory(3);
  StartProgram();
  ReachTitleMenu();
  EXPECT_EQ(main->NumPlayersLbl->text, "1");
  PushKey(VK::F7, Now() + 5);
  RunFor(50);
  EXPECT_EQ(main->NumPlayersLbl->text, "2");
  PushKey(VK::F7, Now() + 5);
  RunFor(50);
  EXPECT_EQ(main->NumPlayersLbl->text, "1");

  // F5 from 0 wraps to the last level; F6 from the last wraps to 0.
  PushKey(VK::F5, Now() + 5);
  RunFor(300);
  EXPECT_EQ(main->LevelLbl->text, "2");
  PushKey(VK::F6, Now() + 5);
  RunFor(300);
  EXPECT_EQ(main->LevelLbl->text, "0");
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
  EXPECT_EQ(main->LevelLbl->text, "2");
  EXPECT_EQ(main->LevelUpImage->tag, 0);
}

TEST_F(TitleMenuTest, NonNumericLevelCaptionFallsBackToZero) {
  MakeGameDirectory(3);
  StartProgram();
  ReachTitleMenu();
  main->LevelLbl->SetText("x");
  PushKey(VK::F6, Now() + 5);
  RunFor(300);
  EXPECT_EQ(main->LevelLbl->text, "0");
}

TEST_F(TitleMenuTest, EscapeAsksAndNoChangesNothing) {
  MakeGameDirectory(3);
  StartProgram();
  ReachTitleMenu();
  std::vector<std::string> seen;
  PushKey(VK::Escape, Now() + 5);
  At(Now() + 100, [&] { seen = program->app.OpenBoxTexts(); });
  Push(InputEvent::Type::KeyDown, 'N', Now() + 150);
  Push(InputEvent::Type::KeyUp, 'N', Now() + 170);
  RunFor(250);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], "Quit to system?");
  EXPECT_TRUE(program->app.OpenBoxTexts().empty());
  EXPECT_FALSE(program->app.Terminated());
  EXPECT_TRUE(main->InTitleMenu());
  EXPECT_EQ(main->NumPlayersLbl->text, "1");
}

TEST_F(TitleMenuTest, EscapeAndYesQuits) {
  MakeGameDirectory(3);
  StartProgram();
  ReachTitleMenu();
  PushKey(VK::Escape, Now() + 5);
  Push(InputEvent::Type::KeyDown, 'Y', Now() + 100);
  RunFor(200);
  EXPECT_TRUE(program->app.Terminated());
}

TEST_F(TitleMenuTest, OnlyTheUnbrokenRunOfLevelsCounts) {
  MakeGameDirectory(3);
  std::filesystem::remove("FELDS/FELD.01");
  StartProgram();
  ReachTitleMenu();
  EXPECT_EQ(main->game.LevelCount, 1);
}

TEST_F(TitleMenuTest, NoLevelsEndsTheProgram) {
  MakeGameDirectory(0);
  StartProgram();
  std::vector<std::string> seen;
  PushChar('a', 5);
  At(50, [&] { seen = program->app.OpenBoxTexts(); });
  Push(InputEvent::Type::KeyDown, VK::Enter, 80);
  RunFor(200);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_NE(seen[0].find("no levels found"), std::string::npos);
  EXPECT_TRUE(program->app.Terminated());
}

}  // namespace
