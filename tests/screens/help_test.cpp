#include <filesystem>
#include <fstream>
#include <set>

#include "base/keys.h"
#include "screens/help.h"
#include "screens/help_texts.h"
#include "shell/game_directory_fixture.h"

namespace fs = std::filesystem;

namespace {

class HelpScreenTest : public GameDirectoryTest {
 protected:
  // `picture`: link the built game's Pictures/ in before the program starts.
  void Start(bool picture = false) {
    MakeGameDirectory(1);
    if (picture) LinkGameFolders({"Pictures"});
    StartProgram();
    help = &program->Help();
    ReachTitleMenu();
  }
  void Key(int vk) {
    PushKey(vk, Now() + 5);
    RunFor(50);
  }
  void Click(const Control& c) {
    program->PushClick(c.ScreenLeft() + c.width / 2, c.ScreenTop() + c.height / 2, Now() + 5);
    RunFor(60);
  }
  bool HelpShowing() { return program->Visible() == help; }
  int PagesShowing() {
    int n = 0;
    for (Panel* p : help->MenuBox) n += p->visible ? 1 : 0;
    return n;
  }
  THelpForm* help = nullptr;
};

TEST_F(HelpScreenTest, F12OpensOnPageOneAndNCyclesThroughAllFour) {
  Start();
  Key(VK::F12);
  ASSERT_TRUE(HelpShowing());
  EXPECT_EQ(help->VisiblePage(), 1);
  Key(VK::N);
  EXPECT_EQ(help->VisiblePage(), 2);
  for (int expected : {3, 4, 1, 2}) {
    Key(VK::N);
    EXPECT_EQ(help->VisiblePage(), expected);
    EXPECT_EQ(PagesShowing(), 1);
  }
  // Keys other than N, Escape and Print Screen do nothing.
  Key(VK::F12);
  Key(VK::Down);
  EXPECT_TRUE(HelpShowing());
  EXPECT_EQ(help->VisiblePage(), 2);

  Key(VK::Escape);
  EXPECT_FALSE(HelpShowing());
  EXPECT_TRUE(program->InTitleMenu());
  EXPECT_EQ(program->Visible(), &program->MainWindow());
}

TEST_F(HelpScreenTest, ReopeningKeepsTheLastPage) {
  Start();
  Key(VK::F12);
  Key(VK::N);
  Key(VK::N);
  ASSERT_EQ(help->VisiblePage(), 3);
  Key(VK::Escape);
  ASSERT_TRUE(program->InTitleMenu());
  Key(VK::F12);
  ASSERT_TRUE(HelpShowing());
  EXPECT_EQ(help->VisiblePage(), 3);
  EXPECT_EQ(PagesShowing(), 1);
}

TEST_F(HelpScreenTest, ButtonsPageAndReturnWithTheMouse) {
  Start();
  Key(VK::F12);
  for (int page = 1; page <= 4; ++page) {
    ASSERT_EQ(help->VisiblePage(), page);
    EXPECT_EQ(help->NextImage[page - 1]->cursor, CursorKind::Hand);
    EXPECT_EQ(help->ReturnImage[page - 1]->cursor, CursorKind::Hand);
    Click(*help->NextImage[page - 1]);
  }
  EXPECT_EQ(help->VisiblePage(), 1);
  Click(*help->NextImage[0]);
  Click(*help->ReturnImage[1]);
  EXPECT_FALSE(HelpShowing());
  EXPECT_TRUE(program->InTitleMenu());
}

TEST_F(HelpScreenTest, NWithNoPageVisibleDoesNothing) {
  Start();
  Key(VK::F12);
  for (Panel* p : help->MenuBox) p->visible = false;
  Key(VK::N);
  EXPECT_EQ(PagesShowing(), 0);
  EXPECT_TRUE(HelpShowing());
}

TEST_F(HelpScreenTest, LegendCopiesTheMainWindowTilesAtEveryShowing) {
  Start();
  const std::set<int> expected{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18,
                               19, 20, 21, 22, 23, 24, 25, 26, 31, 32, 33, 37, 38, 39, 42, 48, 56, 80};
  std::set<int> shown;
  for (const auto& item : help->legend) shown.insert(item.code);
  EXPECT_EQ(shown, expected);
  for (const auto& item : help->legend) EXPECT_TRUE(item.image->image.Empty()) << item.code;

  Key(VK::F12);
  for (const auto& item : help->legend) {
    ASSERT_FALSE(item.image->image.Empty()) << item.code;
    EXPECT_EQ(item.image->image.Pixels(), program->TilePicture(item.code).Pixels()) << item.code;
  }

  // A tile changed while the help screen is closed shows at the next opening.
  Key(VK::Escape);
  program->TilePicture(2) = Image(32, 32, Color{1, 2, 3});
  Key(VK::F12);
  for (const auto& item : help->legend)
    if (item.code == 2) {
      EXPECT_EQ(item.image->image.PixelColor(5, 5), (Color{1, 2, 3}));
    }
}

TEST_F(HelpScreenTest, LegendEntriesLineUpInsideTheirPages) {
  Start();
  for (const auto& item : help->legend) {
    const Control& pic = *item.image;
    const Label& cap = *item.caption;
    SCOPED_TRACE(cap.text);
    EXPECT_EQ(pic.parent, cap.parent);
    EXPECT_EQ(pic.left, 40);
    EXPECT_EQ(cap.left, 88);
    EXPECT_EQ(pic.width, 32);
    EXPECT_LE(std::abs(cap.top - pic.top), 3);
    // No text runs off the page or into the buttons.
    int textWidth = 0, textHeight = 0;
    cap.FittedSize(textWidth, textHeight);
    EXPECT_LE(cap.left + cap.width, 790);
    EXPECT_LE(cap.top + textHeight, 482);
    EXPECT_GT(cap.width, 0);
  }
  // The long captions wrap onto more than one line.
  for (const auto& item : help->legend)
    if (item.code == 6 || item.code == 32) {
      EXPECT_GT(item.caption->height, 20) << item.code;
    }
}

TEST_F(HelpScreenTest, TitlePictureIsShownWhenItShips) {
  Start(true);
  ASSERT_FALSE(help->TitleImage->image.Empty());
  EXPECT_EQ(help->TitleImage->left, 24);
  EXPECT_EQ(help->TitleImage->top, 72);
  EXPECT_EQ(help->TitleImage->width, 489);
  EXPECT_EQ(help->TitleImage->height, 369);
  // Our picture is not a black rectangle.
  const Image shown = help->Compose();
  int lit = 0;
  for (int y = 77; y < 77 + 369; y += 7)
    for (int x = 29; x < 29 + 489; x += 7) lit += shown.Pixel(x, y) != 0 ? 1 : 0;
  EXPECT_GT(lit, 500);
}

TEST_F(HelpScreenTest, MissingOrDamagedTitlePictureLeavesTheAreaBlack) {
  Start();
  EXPECT_TRUE(help->TitleImage->image.Empty());
  {
    fs::create_directory(dir / "Pictures");
    std::ofstream(dir / TitlePicturePath, std::ios::binary) << "\xff\xd8\xff\xe0 not really";
  }
  EXPECT_FALSE(help->LoadTitlePicture(TitlePicturePath));
  EXPECT_TRUE(help->TitleImage->image.Empty());

  Key(VK::F12);
  ASSERT_TRUE(HelpShowing());
  const Image shown = help->Compose();
  EXPECT_EQ(shown.Pixel(5 + 24 + 200, 5 + 72 + 200), 0u);
  Key(VK::N);
  EXPECT_EQ(help->VisiblePage(), 2);
  Key(VK::Escape);
  EXPECT_TRUE(program->InTitleMenu());
}

TEST_F(HelpScreenTest, PrintScreenCapturesTheHelpScreen) {
  Start();
  Key(VK::F12);
  Key(VK::PrintScreen);
  EXPECT_TRUE(fs::exists(dir / "Capture000.bmp"));
  EXPECT_TRUE(HelpShowing());
}

}  // namespace
