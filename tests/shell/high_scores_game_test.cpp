#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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
  // Starts a game in which player 1 ends with `points`; returns the start time. The game
  // is over 3.1 s after t + 300 and the name dialog opens then.
  uint64_t LoseGameWith(int points) {
    const uint64_t t = Now();
    PushKey(VK::F2, t + 5);
    At(t + 200, [this, points] { program->GameState().Player1.Points = points; });
    At(t + 300, [this] { DamagePlayer(program->GameState(), 250, Cell::Player1, true); });
    return t;
  }
};

// The file layout written by hand: version, dimensions, widths, twelve 20s, then every
// cell as its length, a space, its text and a space.
std::string TableFile(const std::vector<std::vector<std::string>>& rows) {
  const size_t columns = rows[0].size();
  std::string text = "version1.0\r\n" + std::to_string(columns) + " " + std::to_string(rows.size()) + "\r\n";
  for (size_t c = 0; c < columns; ++c) text += std::to_string(40 + c) + " ";
  text += "\r\n20 20 20 20 20 20 20 20 20 20 20 20\r\n";
  for (const auto& row : rows) {
    for (const std::string& cell : row) text += std::to_string(cell.size()) + " " + cell + " ";
    text += "\r\n";
  }
  return text;
}

TEST_F(HighScoresGameTest, GameOverAsksTheNameSavesItAndShowsIt) {
  THScoreForm& scores = program->Scores();
  TNameForm& dialog = program->NameDialog();
  const uint64_t t = Now();
  PushKey(VK::F2, t + 5);
  At(t + 200, [&] { program->GameState().Player1.Points = 20000; });
  At(t + 300, [&] { DamagePlayer(program->GameState(), 250, Cell::Player1, true); });
  bool openBefore = true, contentHidden = false, menuBehind = false;
  std::string message, defaultName;
  At(t + 300 + 3000, [&] { openBefore = program->Visible() == &scores; });
  At(t + 300 + 3300, [&] {
    message = dialog.HSLbl->text;
    defaultName = dialog.NameEdit->text;
    contentHidden = !scores.ContentBox->visible;
    menuBehind = program->Visible() == &scores && program->GameStopped();
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
  EXPECT_EQ(program->Visible(), &scores);
  EXPECT_TRUE(scores.ContentBox->visible);
  EXPECT_EQ(scores.NameLbl[2]->text, "Rosa Kell");
  EXPECT_EQ(scores.ScoreLbl[2]->text, "20000");
  EXPECT_EQ(scores.NameLbl[3]->text, "Bruno");

  PushKey(VK::Escape, Now() + 5);
  RunFor(50);
  EXPECT_EQ(program->Visible(), &program->MainWindow());
  EXPECT_TRUE(program->InTitleMenu());
}

TEST_F(HighScoresGameTest, ScoresKeyShowsTheFileAndAMissingFileIsReported) {
  PushKey(VK::F11, Now() + 5);
  RunFor(50);
  EXPECT_EQ(program->Visible(), &program->Scores());
  EXPECT_EQ(program->Scores().NameLbl[0]->text, "Mirel");
  PushKey(VK::Enter, Now() + 5);
  RunFor(50);
  EXPECT_TRUE(program->InTitleMenu());

  std::filesystem::remove(dir / "HighScores.dat");
  std::vector<std::string> seen;
  At(Now() + 30, [&] { seen = program->OpenBoxes(); });
  PushKey(VK::F11, Now() + 5);
  PushKey(VK::Enter, Now() + 60);
  RunFor(150);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0],
            "Error loading 'HighScores.dat'. Please make sure the file exists and has not been "
            "corrupted.");
  EXPECT_EQ(program->Visible(), &program->Scores());
  EXPECT_EQ(program->Scores().NameLbl[0]->text, "Mirel");
  EXPECT_FALSE(std::filesystem::exists(dir / "HighScores.dat"));
}

// A sixth column moves with its row: rows below the new place take the cells of the row
// above, and the new place keeps what its row held there before.
TEST_F(HighScoresGameTest, ColumnsPastTheFourthMoveWithTheirRows) {
  std::vector<std::vector<std::string>> rows = {{"", "Rank", "Name", "Score", "Levels", "Note"}};
  for (int r = 1; r <= 17; ++r)
    rows.push_back({r == 1 ? "pelvorin" : "", std::to_string(r), "Name " + std::to_string(r),
                    std::to_string(10000 - 100 * r), std::to_string(r % 3), "note " + std::to_string(r)});
  std::ofstream(dir / "HighScores.dat", std::ios::binary) << TableFile(rows);

  const uint64_t t = LoseGameWith(8950);  // between place 10 (9000) and place 11 (8900)
  PushKey(VK::Enter, t + 3800);
  RunFor(4000);

  std::vector<std::vector<std::string>> expected = rows;
  for (int r = 17; r > 11; --r)
    for (int c = 2; c < 6; ++c) expected[r][c] = rows[r - 1][c];
  expected[11][2] = "Player 1";
  expected[11][3] = "8950";
  expected[11][4] = "0";
  ASSERT_EQ(expected[11][5], "note 11");
  EXPECT_EQ(FileText(), TableFile(expected));
}

// The name dialog is centred on the 800 x 600 screen, not on the 792 x 573 score screen
// behind it: a click near the lower right corner of its OK button closes it.
TEST_F(HighScoresGameTest, NameDialogIsCentredOnTheScreen) {
  TNameForm& dialog = program->NameDialog();
  const uint64_t t = LoseGameWith(20000);
  const int dialogLeft = (800 - 482) / 2, dialogTop = (600 - 413) / 2;
  const int x = dialogLeft + 163 + 150, y = dialogTop + 353 + 50;
  bool openBeforeClick = false, openAfterClick = true;
  At(t + 3700, [&] { openBeforeClick = !dialog.modalDone; });
  At(t + 3760, [&] {
    program->PushMouse(InputEvent::Type::MouseDown, x, y, Now() + 1);
    program->PushMouse(InputEvent::Type::MouseUp, x, y, Now() + 20);
  });
  At(t + 3900, [&] {
    openAfterClick = !dialog.modalDone;
    if (openAfterClick) PushKey(VK::Escape, Now() + 1);  // do not leave it open
  });
  RunFor(4100);
  EXPECT_TRUE(openBeforeClick);
  EXPECT_FALSE(openAfterClick) << "the click at (" << x << ", " << y << ") missed the OK button";
  EXPECT_NE(FileText().find(" 8 Player 1 5 20000 "), std::string::npos);
}

// The longest name the table keeps: the dialog takes no more characters than a cell of
// HighScores.dat holds, so the name is saved whole and the table is read back (it used
// to take one more, and the table was refused at every later load).
TEST_F(HighScoresGameTest, TheLongestNameIsSavedReadBackAndShownInItsField) {
  std::string name(HighScoreMaxCell, ' ');
  for (std::size_t i = 0; i < name.size(); ++i) name[i] = static_cast<char>('A' + i % 26);
  const uint64_t t = LoseGameWith(20000);
  for (char c : name + "xyz") PushChar(c, t + 3700);
  PushKey(VK::Enter, t + 3800);
  RunFor(4000);
  THScoreForm& scores = program->Scores();
  EXPECT_EQ(scores.NameLbl[2]->text, name);
  EXPECT_NE(FileText().find(" 1 3 " + std::to_string(name.size()) + " " + name + " 5 20000 "),
            std::string::npos);

  PushKey(VK::Escape, Now() + 5);
  PushKey(VK::F11, Now() + 50);
  std::vector<std::string> boxes{"not looked at"};
  At(Now() + 150, [&] {
    boxes = program->OpenBoxes();
    if (!boxes.empty()) PushKey(VK::Enter, Now() + 1);
  });
  RunFor(200);
  EXPECT_EQ(boxes, std::vector<std::string>{});
  ASSERT_EQ(program->Visible(), &scores);
  EXPECT_EQ(scores.NameLbl[2]->text, name);
  EXPECT_EQ(scores.NameLbl[3]->text, "Bruno");

  // Shown as far as its field reaches, and no further: the score column beside it
  // keeps its own pixels.
  const Image screen = program->Capture();
  const Label& field = *scores.NameLbl[2];
  const Label& score = *scores.ScoreLbl[2];
  auto inked = [&](int x0, int x1) {
    int n = 0;
    for (int y = field.ScreenTop(); y < field.ScreenTop() + field.height; ++y)
      for (int x = x0; x < x1; ++x) n += screen.PixelColor(x, y) != Color{0, 0, 0};
    return n;
  };
  EXPECT_GT(inked(field.ScreenLeft(), field.ScreenLeft() + field.width), 100);
  EXPECT_EQ(inked(field.ScreenLeft() + field.width, score.ScreenLeft()), 0);
}

}  // namespace
