#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/keys.h"
#include "play/player_control.h"
#include "screens/high_scores.h"
#include "shell/game_directory_fixture.h"

namespace {

class HighScoresGameTest : public GameDirectoryTest {
 protected:
  void SetUp() override {
    MakeGameDirectory(1);
    StartProgram();
    ReachTitleMenu();
  }
  std::string FileText() {
    std::ifstream in(dir / "HighScores.dat", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(HighScoresGameTest, GameOverAsksTheNameSavesItAndShowsIt) {
  THScoreForm& scores = *program->scoreForm;
  TNameForm& dialog = *program->nameForm;
  const uint64_t t = Now();
  PushKey(VK::F2, t + 5);
  At(t + 200, [&] { main->game.Player1.Points = 20000; });
  At(t + 300, [&] { DamagePlayer(main->game, 250, Cell::Player1, true); });
  bool openBefore = true, contentHidden = false, menuBehind = false;
  std::string message, defaultName;
  At(t + 300 + 3000, [&] { openBefore = program->app.Visible() == &scores; });
  At(t + 300 + 3300, [&] {
    message = dialog.HSLbl->text;
    defaultName = dialog.NameEdit->text;
    contentHidden = !scores.ContentBox->visible;
    menuBehind = program->app.Visible() == &scores && main->GameStopped;
  });
  for (char c : std::string("Rosa Kell")) PushChar(c, t + 3700);
  PushKey(VK::Enter, t + 3800);
  RunFor(4000);

  EXPECT_FALSE(openBefore);
  EXPECT_EQ(message, "You have a high score of 20000");
  EXPECT_EQ(defaultName, "Player 1");
  EXPECT_TRUE(contentHidden);
  EXPECT_TRUE(menuBehind);
  EXPECT_NE(FileText().find("\r\n0  1 3 9 Rosa Kell 5 20000 1 0 \r\n"), std::string::npos);
  EXPECT_EQ(program->app.Visible(), &scores);
  EXPECT_TRUE(scores.ContentBox->visible);
  EXPECT_EQ(scores.NameLbl[2]->text, "Rosa Kell");
  EXPECT_EQ(scores.ScoreLbl[2]->text, "20000");
  EXPECT_EQ(scores.NameLbl[3]->text, "Bruno");

  PushKey(VK::Escape, Now() + 5);
  RunFor(50);
  EXPECT_EQ(program->app.Visible(), main);
  EXPECT_TRUE(main->InTitleMenu());
}

TEST_F(HighScoresGameTest, ScoresKeyShowsTheFileAndAMissingFileIsReported) {
  PushKey(VK::F11, Now() + 5);
  RunFor(50);
  EXPECT_EQ(program->app.Visible(), program->scoreForm.get());
  EXPECT_EQ(program->scoreForm->NameLbl[0]->text, "Mirel");
  PushKey(VK::Enter, Now() + 5);
  RunFor(50);
  EXPECT_TRUE(main->InTitleMenu());

  std::filesystem::remove(dir / "HighScores.dat");
  std::vector<std::string> seen;
  At(Now() + 30, [&] { seen = program->app.OpenBoxTexts(); });
  PushKey(VK::F11, Now() + 5);
  PushKey(VK::Enter, Now() + 60);
  RunFor(150);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0],
            "Error loading 'HighScores.dat'. Please make sure the file exists and has not been "
            "corrupted.");
  EXPECT_EQ(program->app.Visible(), program->scoreForm.get());
  EXPECT_EQ(program->scoreForm->NameLbl[0]->text, "Mirel");
  EXPECT_FALSE(std::filesystem::exists(dir / "HighScores.dat"));
}

}  // namespace
