// The real program saving into a tampered game directory: settings, scores and
// captures are written whole or not at all, never through a stranger's link, never
// waiting on a FIFO, and nothing is left behind.
#include <sys/stat.h>

#include "base/bmp_file.h"
#include "base/files.h"
#include "play/player_control.h"
#include "shell/hostile_fixture.h"
#include "support/file_faults.h"

namespace fs = std::filesystem;

namespace {

const char* const QuitQuestion = "Quit to system?";
const char* const OptionsNotSaved = "Option settings not saved. Please make sure the disk is not write protected.";
const char* const ScoresNotSaved = "High scores were not saved. Please make sure the disk is not write protected.";

class HostileSavingTest : public HostileDirectoryTest {
 protected:
  // A one-player game whose player dies with 20000 points; the name dialog is closed
  // with Enter and the score screen with Escape.
  void PlayToAHighScore() {
    const uint64_t t = Now();
    PushKey(VK::F2, t + 5);
    At(t + 200, [&] { program->GameState().Player1.Points = 20000; });
    At(t + 300, [&] { DamagePlayer(program->GameState(), 250, Cell::Player1, true); });
    PushKey(VK::Enter, t + 3800);
    PushKey(VK::Escape, t + 4000);
    RunFor(4200);
    ASSERT_TRUE(program->InTitleMenu());
  }
  // Escape at the title menu; the question is answered Yes.
  void Quit() {
    PushKey(VK::Escape, Now() + 5);
    RunFor(300);
    ASSERT_TRUE(program->Terminated());
  }
  std::vector<std::string> Temporaries(const fs::path& folder, const std::string& name) {
    return NamesStartingWith(folder, name + ".new");
  }
};

TEST_F(HostileSavingTest, StaleTemporaryLinkAndFifoCatchNeitherSave) {
  Watchdog watchdog;
  MakeGameDirectory(1);
  std::ofstream(dir / "victim.txt") << "someone else's file";
  fs::create_symlink(dir / "victim.txt", dir / "Options.dat.new");
  ASSERT_EQ(::mkfifo((dir / "HighScores.dat.new").c_str(), 0644), 0);
  StartAnsweringBoxes();
  ReachTitleMenu();
  PlayToAHighScore();
  Quit();
  EXPECT_EQ(boxes, std::vector<std::string>{QuitQuestion});
  EXPECT_EQ(Text(dir / "victim.txt"), "someone else's file");
  EXPECT_FALSE(fs::is_symlink(dir / "Options.dat"));
  EXPECT_EQ(Text(dir / "Options.dat").substr(0, 4), "16\r\n");
  EXPECT_NE(Text(dir / "HighScores.dat").find(" 8 Player 1 5 20000 "), std::string::npos);
  // Neither is a file of ours, so both stay where they were.
  EXPECT_EQ(Temporaries(dir, "Options.dat"), std::vector<std::string>{"Options.dat.new"});
  EXPECT_EQ(Temporaries(dir, "HighScores.dat"), std::vector<std::string>{"HighScores.dat.new"});
}

// A player who keeps the settings in a folder of their own and links them in.
TEST_F(HostileSavingTest, OptionsKeptAsALinkStayALink) {
  MakeGameDirectory(1);
  fs::create_directory(dir / "dotfiles");
  std::ofstream(dir / "dotfiles" / "Options.dat", std::ios::binary)
      << "7\r\n0 Up 38 Down 40 Left 37 Right 39 Ctrl 17 Shift 16 \r\n"
         "0 T 84 G 71 F 70 H 72 Z 90 A 65 \r\nOn\r\nOn\r\n";
  fs::create_symlink("dotfiles/Options.dat", dir / "Options.dat");
  StartAnsweringBoxes();
  ReachTitleMenu();
  EXPECT_EQ(program->Options().GameSpeedEdit->text, "7");
  program->Options().GameSpeedEdit->text = "9";
  Quit();
  EXPECT_EQ(boxes, std::vector<std::string>{QuitQuestion});
  ASSERT_TRUE(fs::is_symlink(dir / "Options.dat"));
  EXPECT_EQ(fs::read_symlink(dir / "Options.dat"), "dotfiles/Options.dat");
  EXPECT_EQ(Text(dir / "dotfiles" / "Options.dat").substr(0, 3), "9\r\n");
  EXPECT_TRUE(Temporaries(dir, "Options.dat").empty());
  EXPECT_TRUE(Temporaries(dir / "dotfiles", "Options.dat").empty());
}

TEST_F(HostileSavingTest, SettingsAndScoresThatAreFifosAreReportedNotWaitedFor) {
  Watchdog watchdog;
  MakeGameDirectory(1);
  fs::remove(dir / "HighScores.dat");
  ASSERT_EQ(::mkfifo((dir / "HighScores.dat").c_str(), 0644), 0);
  ASSERT_EQ(::mkfifo((dir / "Options.dat").c_str(), 0644), 0);
  const std::string cannotOpen =
      "Unable to open 'Options.dat' file. Please make sure the disk is accessable.";
  StartAnsweringBoxes();
  TypeFirstKey();
  ASSERT_TRUE(program->InTitleMenu());
  // Read when the screen is made and again at the end of start-up.
  EXPECT_EQ(boxes, (std::vector<std::string>{cannotOpen, cannotOpen}));
  PushKey(VK::F11, Now() + 5);
  PushKey(VK::Escape, Now() + 200);
  RunFor(300);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[2],
            "Error loading 'HighScores.dat'. Please make sure the file exists and has not been "
            "corrupted.");
  Quit();
  EXPECT_EQ(std::vector<std::string>(boxes.begin() + 3, boxes.end()),
            (std::vector<std::string>{QuitQuestion, OptionsNotSaved}));
  EXPECT_TRUE(IsFifo(dir / "Options.dat"));
  EXPECT_TRUE(IsFifo(dir / "HighScores.dat"));
}

TEST_F(HostileSavingTest, CapturesSkipNamesTakenByAnythingAndNeverFollowLinks) {
  Watchdog watchdog;
  MakeGameDirectory(1);
  ASSERT_EQ(::mkfifo((dir / "Capture000.bmp").c_str(), 0644), 0);
  fs::create_directory(dir / "Capture001.bmp");
  fs::create_symlink(dir / "outside.bmp", dir / "Capture002.bmp");
  StartAnsweringBoxes();
  ReachTitleMenu();
  PushKey(VK::PrintScreen, Now() + 5);
  RunFor(100);
  EXPECT_TRUE(boxes.empty());
  std::string error;
  const auto picture = LoadBmp((dir / "Capture003.bmp").string(), error);
  ASSERT_TRUE(picture) << error;
  EXPECT_EQ(picture->Width(), program->MainWindow().Compose().Width());
  EXPECT_TRUE(IsFifo(dir / "Capture000.bmp"));
  EXPECT_FALSE(fs::exists(dir / "outside.bmp"));
  EXPECT_TRUE(Temporaries(dir, "Capture003.bmp").empty());
}

// Nothing is lost when the disk is full: the old settings and scores stay whole, a
// capture leaves no file and takes no number.
TEST_F(HostileSavingTest, FullDiskLosesNothingAndLeavesNothing) {
  MakeGameDirectory(1);
  std::string why;
  if (!MoveOntoSmallDisk(512, why)) GTEST_SKIP() << why;
  const fs::path disk = fs::current_path();
  const std::string options =
      "7\r\n0 Up 38 Down 40 Left 37 Right 39 Ctrl 17 Shift 16 \r\n"
      "0 T 84 G 71 F 70 H 72 Z 90 A 65 \r\nOn\r\nOn\r\n";
  std::ofstream(disk / "Options.dat", std::ios::binary) << options;
  const std::string scores = Text(disk / "HighScores.dat");
  StartAnsweringBoxes();
  ReachTitleMenu();
  program->Options().GameSpeedEdit->text = "9";
  Disk().Fill();

  PushKey(VK::PrintScreen, Now() + 5);
  RunFor(200);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], "Cannot save \"" + (disk / "Capture000.bmp").string() + "\": the disk is full.");
  EXPECT_EQ(boxes[1], CaptureError);
  EXPECT_FALSE(NameTaken((disk / "Capture000.bmp").string()));
  EXPECT_TRUE(Temporaries(disk, "Capture000.bmp").empty());

  PlayToAHighScore();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[2], ScoresNotSaved);
  EXPECT_EQ(Text(disk / "HighScores.dat"), scores);

  Quit();
  EXPECT_EQ(std::vector<std::string>(boxes.begin() + 3, boxes.end()),
            (std::vector<std::string>{QuitQuestion, OptionsNotSaved}));
  EXPECT_EQ(Text(disk / "Options.dat"), options);
  EXPECT_TRUE(Temporaries(disk, "Options.dat").empty());
  EXPECT_TRUE(Temporaries(disk, "HighScores.dat").empty());
}

// Without a disk to fill, the same through failing writes.
TEST_F(HostileSavingTest, FailedCaptureTakesNoNumber) {
  MakeGameDirectory(1);
  StartAnsweringBoxes();
  ReachTitleMenu();
  {
    FullDiskWrites full;
    PushKey(VK::PrintScreen, Now() + 5);
    RunFor(200);
  }
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1], CaptureError);
  EXPECT_FALSE(NameTaken((dir / "Capture000.bmp").string()));
  PushKey(VK::PrintScreen, Now() + 5);
  RunFor(100);
  EXPECT_TRUE(FileExists((dir / "Capture000.bmp").string()));
  EXPECT_EQ(boxes.size(), 2u);
}

}  // namespace
