#include <filesystem>
#include <fstream>

#include "base/keys.h"
#include "play/player_control.h"
#include "screens/high_scores.h"
#include "shell/game_directory_fixture.h"
#include "base/bmp_file.h"

namespace {

class GameRunTest : public GameDirectoryTest {
 protected:
  void SetUp() override {
    MakeGameDirectory(3);
    StartProgram();
    ReachTitleMenu();
  }
  // The picture of `code` as the room's cell (x, y) shows it.
  bool CellShows(int x, int y, int code) {
    const Image& tile = program->TilePicture(code);
    for (int py = 0; py < 32; ++py)
      for (int px = 0; px < 32; ++px)
        if (program->MainWindow().canvas.Pixel(RoomOriginX + 32 * x + px, RoomOriginY + 32 * y + py) !=
            tile.Pixel(px, py))
          return false;
    return true;
  }
  bool RoomShowsGrid() {
    const WorldGrid& w = program->GameState().World;
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 20; ++x)
        if (HasTilePicture(w.At(x, y)) && !CellShows(x, y, w.At(x, y))) return false;
    return true;
  }
};

TEST_F(GameRunTest, StartAbortContinueAndReturn) {
  const uint64_t t = Now();
  bool inGame = false, drawn = false, titleShown = false;
  std::vector<std::string> question;
  bool continued = false;
  PushKey(VK::F2, t + 5);
  At(t + 400, [&] {
    inGame = program->InGame() && !program->GameStopped();
    drawn = RoomShowsGrid();
    titleShown = program->LevelTitle().visible && program->LevelTitle().text == "Level 0";
  });
  PushKey(VK::Escape, t + 500);
  At(t + 600, [&] { question = program->OpenBoxes(); });
  PushKey('N', t + 650);
  At(t + 900, [&] { continued = program->InGame() && !program->GameStopped() && !program->AbortQuestionOpen(); });
  PushKey(VK::Escape, t + 1000);
  PushKey('Y', t + 1100);
  RunFor(1500);

  EXPECT_TRUE(inGame);
  EXPECT_TRUE(drawn);
  EXPECT_TRUE(titleShown);
  ASSERT_EQ(question.size(), 1u);
  EXPECT_EQ(question[0], "Abort game and return to menu?");
  EXPECT_TRUE(continued);
  EXPECT_TRUE(program->InTitleMenu());
  EXPECT_TRUE(program->GameStopped());
  EXPECT_EQ(program->GameState().PlayerCount, 0);
  EXPECT_FALSE(program->StatusPanel(1).Visible());
  EXPECT_EQ(program->Cursor(), CursorKind::Arrow);
}

TEST_F(GameRunTest, StatusPanelsArePlacedBelowTheRoom) {
  bool placed = false, secondHidden = false;
  PushKey(VK::F2, Now() + 5);
  At(Now() + 300, [&] {
    const Panel* box = program->StatusPanel(1).Box();
    placed = box->visible && box->left == 80 && box->top == 449 && box->width == 310 &&
             box->height == 105;
    secondHidden = !program->StatusPanel(2).Visible() && program->GameState().Player2.Dead;
  });
  PushKey(VK::Escape, Now() + 400);
  PushKey('Y', Now() + 500);
  RunFor(700);
  EXPECT_TRUE(placed);
  EXPECT_TRUE(secondHidden);
}

TEST_F(GameRunTest, TwoPlayersShowBothPanels) {
  PushKey(VK::F7, Now() + 5);
  RunFor(50);
  bool both = false;
  PushKey(VK::F2, Now() + 5);
  At(Now() + 300, [&] {
    const Panel* second = program->StatusPanel(2).Box();
    both = program->StatusPanel(1).Visible() && second->visible && second->left == 400 &&
           second->top == 449 && !program->GameState().Player2.Dead;
  });
  PushKey(VK::Escape, Now() + 400);
  PushKey('Y', Now() + 500);
  RunFor(700);
  EXPECT_TRUE(both);
}

TEST_F(GameRunTest, WarpTimerAdvancesTheLevelAfterItsDelay) {
  const uint64_t t = Now();
  std::string titleBefore, titleAfter;
  std::string status;
  int levelIndex = -1;
  PushKey(VK::F2, t + 5);
  At(t + 300, [&] { program->GameState().Player1.Warped = true; });
  At(t + 300 + 3700, [&] {
    titleBefore = program->LevelTitle().text;
    status = program->GameState().Player1.StatusText;
  });
  At(t + 300 + 4100, [&] {
    titleAfter = program->LevelTitle().text;
    levelIndex = program->GameState().LevelIndex;
  });
  PushKey(VK::Escape, t + 4600);
  PushKey('Y', t + 4700);
  RunFor(5000);
  EXPECT_EQ(titleBefore, "Level 0");
  EXPECT_EQ(status, "WARP");
  EXPECT_EQ(titleAfter, "Level 1");
  EXPECT_EQ(levelIndex, 1);
  EXPECT_EQ(program->GameState().Player1.LevelsPassed, 1);
}

TEST_F(GameRunTest, GameOverOpensTheScoresAboutThreeSecondsLater) {
  const uint64_t t = Now();
  bool stillPlaying = false, escapeIgnored = false;
  PushKey(VK::F2, t + 5);
  At(t + 300, [&] { DamagePlayer(program->GameState(), 250, Cell::Player1, true); });
  PushKey(VK::Escape, t + 500);  // all players dead: no question
  At(t + 600, [&] { escapeIgnored = program->OpenBoxes().empty(); });
  At(t + 300 + 3000, [&] { stillPlaying = !program->GameStopped(); });
  RunFor(3700);
  EXPECT_TRUE(escapeIgnored);
  EXPECT_TRUE(stillPlaying);
  EXPECT_TRUE(program->GameStopped());
  EXPECT_EQ(program->Visible(), &program->Scores());
  EXPECT_TRUE(program->MenuBoxShown());
}

TEST_F(GameRunTest, DrawRoomClearsADeadPlayersMarkerAndSkipsCodesWithoutPicture) {
  WorldGrid& w = program->GameState().World;
  w.ClearWorld();
  w.SetCurrentRoom(1, 1);
  program->GameState().PlayerCount = 1;
  PlayerState& p1 = program->GameState().Player1;
  p1.Dead = true;
  p1.X = 4;
  p1.Y = 3;
  w.At(4, 3) = Cell::Player1;
  w.At(6, 3) = 70;
  w.At(7, 3) = Cell::Money;
  // Something already on screen where code 70 stands must stay.
  program->MainWindow().canvas.FillRect(RoomOriginX + 32 * 6, RoomOriginY + 32 * 3, 32, 32, Color{1, 2, 3});
  program->DrawRoom();
  EXPECT_EQ(w.At(4, 3), Cell::Floor);
  EXPECT_TRUE(CellShows(4, 3, Cell::Floor));
  EXPECT_TRUE(CellShows(7, 3, Cell::Money));
  EXPECT_EQ(program->MainWindow().canvas.PixelColor(RoomOriginX + 32 * 6 + 5, RoomOriginY + 32 * 3 + 5),
            (Color{1, 2, 3}));
  EXPECT_EQ(w.At(6, 3), 70);
}

TEST_F(GameRunTest, CapturesTakeTheLowestFreeNumberAndShowTheScreen) {
  std::string error;
  ASSERT_TRUE(SaveBmp24(Image(4, 4), "Capture000.bmp", error));
  ASSERT_TRUE(SaveBmp24(Image(4, 4), "Capture002.bmp", error));
  PushKey(VK::PrintScreen, Now() + 5);
  RunFor(50);
  EXPECT_TRUE(std::filesystem::exists("Capture001.bmp"));
  EXPECT_FALSE(std::filesystem::exists("Capture003.bmp"));
  PushKey(VK::PrintScreen, Now() + 5);
  RunFor(50);
  ASSERT_TRUE(std::filesystem::exists("Capture003.bmp"));

  auto capture = LoadBmp("Capture003.bmp", error);
  ASSERT_TRUE(capture) << error;
  EXPECT_EQ(capture->Width(), 800);
  EXPECT_EQ(capture->Height(), 600);
  const Image screen = program->MainWindow().Compose();
  EXPECT_EQ(capture->Pixels(), screen.Pixels());
  // 24 bits per pixel in the file header.
  std::ifstream f("Capture003.bmp", std::ios::binary);
  char header[30];
  f.read(header, sizeof header);
  EXPECT_EQ(header[0], 'B');
  EXPECT_EQ(header[28], 24);
}

TEST_F(GameRunTest, CaptureOfAnotherScreenCapturesThatScreen) {
  PushKey(VK::F12, Now() + 5);
  RunFor(50);
  ASSERT_EQ(program->Visible(), &program->Help());
  PushKey(VK::PrintScreen, Now() + 5);
  RunFor(50);
  std::string error;
  auto capture = LoadBmp("Capture000.bmp", error);
  ASSERT_TRUE(capture) << error;
  EXPECT_EQ(capture->Width(), program->Help().ClientWidth());
  PushKey(VK::Escape, Now() + 5);
  RunFor(50);
  EXPECT_EQ(program->Visible(), &program->MainWindow());
  EXPECT_TRUE(program->InTitleMenu());
}

}  // namespace

TEST_F(GameRunTest, WideNumbersGrowLeftAndStayWhole) {
  bool checked = false;
  PushKey(VK::F2, Now() + 5);
  At(Now() + 300, [&] {
    program->GameState().Player1.Points = 2147483647;
    program->GameState().Player1.Life = -160;
  });
  At(Now() + 400, [&] {
    checked = true;
    for (Label* label : {program->StatusPanel(1).PointsLbl, program->StatusPanel(1).LifeLbl}) {
      int w = 0, h = 0;
      label->FittedSize(w, h);
      EXPECT_GE(label->width, w) << label->text << " is cut down";
    }
    EXPECT_EQ(program->StatusPanel(1).PointsLbl->text, "2147483647");
    EXPECT_EQ(program->StatusPanel(1).PointsLbl->left + program->StatusPanel(1).PointsLbl->width, 269);
    EXPECT_EQ(program->StatusPanel(1).LifeLbl->text, "0");
    EXPECT_EQ(program->StatusPanel(1).LifeLbl->left + program->StatusPanel(1).LifeLbl->width, 125);
  });
  PushKey(VK::Escape, Now() + 600);
  PushKey('Y', Now() + 700);
  RunFor(900);
  EXPECT_TRUE(checked);
}

// Player 1 places its bomb and lets go of fire at once: the blast kills it, and its
// panel shows no life rather than less than none.
TEST_F(GameRunTest, ABombThatKillsItsOwnerLeavesItsPanelAtNoLife) {
  const uint64_t t = Now();
  PushKey(VK::F2, t + 5);
  At(t + 300, [&] { program->GameState().Player1.Bombs = 1; });
  PushKey(VK::Shift, t + 400);    // the item menu, on release
  PushKey(VK::Left, t + 500);     // BOMB
  PushKey(VK::Control, t + 600);  // placed, and set off on release
  std::string life;
  bool dead = false;
  At(t + 900, [&] {
    dead = program->GameState().Player1.Dead;
    life = program->StatusPanel(1).LifeLbl->text;
  });
  RunFor(1000);
  EXPECT_TRUE(dead);
  EXPECT_EQ(life, "0");
}

// Points stop at the largest the record holds instead of wrapping round to negative.
TEST_F(GameRunTest, PointsPastTheLargestStayThere) {
  const uint64_t t = Now();
  PushKey(VK::F2, t + 5);
  At(t + 300, [&] {
    Game& game = program->GameState();
    PlayerState& p = game.Player1;
    p.Points = 2147483647 - 50;
    const int side = p.X > 1 ? -1 : 1;
    game.World.At(p.X + side, p.Y) = Cell::Money;
    const int vk = side < 0 ? VK::Left : VK::Right;
    Push(InputEvent::Type::KeyDown, vk, Now() + 1);
    Push(InputEvent::Type::KeyUp, vk, Now() + 100);
  });
  std::string points;
  At(t + 600, [&] { points = program->StatusPanel(1).PointsLbl->text; });
  PushKey(VK::Escape, t + 700);
  PushKey('Y', t + 800);
  RunFor(1000);
  EXPECT_EQ(program->GameState().Player1.Points, 2147483647);
  EXPECT_EQ(points, "2147483647");
}
