// Saving beside hostile things: stale temporary files, links, FIFOs, folders in the way,
// and disks that fill up. The target is always the complete old or new file, nothing
// outside it is written, and nothing is left behind.
#include "base/file_saving.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/files.h"
#include "support/file_faults.h"
#include "support/small_disk.h"
#include "support/watchdog.h"

namespace fs = std::filesystem;

namespace {

class FileSavingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trok_saving_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  static std::string Text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void Write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  }
  static mode_t Mode(const fs::path& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
  }
  std::vector<std::string> Temporaries(const std::string& name) const {
    return NamesStartingWith(dir, name + ".new");
  }
  bool Save(const fs::path& path, const std::string& text) {
    error.clear();
    return ReplaceFile(path.string(), text, error);
  }

  fs::path dir;
  std::string error;
};

TEST_F(FileSavingTest, NewAndReplacedFilesKeepTheirPermissions) {
  const mode_t mask = ::umask(022);
  ASSERT_TRUE(Save(dir / "Options.dat", "one")) << error;
  EXPECT_EQ(Mode(dir / "Options.dat") & 07777, 0644u);
  ASSERT_EQ(::chmod((dir / "Options.dat").c_str(), 0600), 0);
  ASSERT_TRUE(Save(dir / "Options.dat", "two")) << error;
  ::umask(mask);
  EXPECT_EQ(Text(dir / "Options.dat"), "two");
  EXPECT_EQ(Mode(dir / "Options.dat") & 07777, 0600u);
  EXPECT_TRUE(Temporaries("Options.dat").empty());
}

TEST_F(FileSavingTest, StaleTemporaryLinkIsNeverWrittenThrough) {
  Write(dir / "victim", "someone else's file");
  fs::create_symlink(dir / "victim", dir / "Options.dat.new");
  Write(dir / "Options.dat", "old");
  ASSERT_TRUE(Save(dir / "Options.dat", "new")) << error;
  EXPECT_EQ(Text(dir / "victim"), "someone else's file");
  EXPECT_EQ(Text(dir / "Options.dat"), "new");
  EXPECT_TRUE(S_ISREG(Mode(dir / "Options.dat")));
  EXPECT_EQ(Temporaries("Options.dat"), std::vector<std::string>{"Options.dat.new"})
      << "a link is not ours to remove";
}

TEST_F(FileSavingTest, OnlyOurOwnAbandonedTemporariesAreRemoved) {
  Write(dir / "HighScores.dat.new", "left by an older version");
  Write(dir / "HighScores.dat.new-Ab3dE9", "left by a killed save");
  Write(dir / "HighScores.dat.new-Live01", "a save in progress");
  const int running = ::open((dir / "HighScores.dat.new-Live01").c_str(), O_RDONLY);
  ASSERT_GE(running, 0);
  ASSERT_EQ(::flock(running, LOCK_EX), 0);
  ASSERT_EQ(::mkfifo((dir / "HighScores.dat.new-Fifo00").c_str(), 0644), 0);
  fs::create_directory(dir / "HighScores.dat.new-Folder");
  fs::create_symlink(dir / "HighScores.dat.new-Ab3dE9", dir / "HighScores.dat.new-Link00");
  Write(dir / "HighScores.dat.new-toolong", "not one of ours");
  Write(dir / "HighScores.dat.new-ab.def", "not one of ours");
  std::vector<std::string> expected{"HighScores.dat.new",        "HighScores.dat.new-Fifo00",
                                    "HighScores.dat.new-Folder", "HighScores.dat.new-Link00",
                                    "HighScores.dat.new-Live01", "HighScores.dat.new-ab.def",
                                    "HighScores.dat.new-toolong"};
  // Someone else's file of the same shape, where we can make one.
  Write(dir / "HighScores.dat.new-Other1", "another user's");
  if (::chown((dir / "HighScores.dat.new-Other1").c_str(), 65534, 65534) == 0)
    expected.push_back("HighScores.dat.new-Other1");
  else
    fs::remove(dir / "HighScores.dat.new-Other1");

  Watchdog watchdog(20);
  ASSERT_TRUE(Save(dir / "HighScores.dat", "table")) << error;
  ::close(running);
  EXPECT_EQ(Text(dir / "HighScores.dat"), "table");
  auto left = Temporaries("HighScores.dat");
  std::sort(left.begin(), left.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(left, expected);
}

// Two programs saving one file at the same moment (two games quitting together): every
// save of both succeeds, and the file is always one of the two whole. A saver must not
// take the other's fresh temporary file for a killed save's.
TEST_F(FileSavingTest, TwoProgramsSavingAtOnceBothSucceedWhole) {
  const fs::path target = dir / "Options.dat";
  const std::string texts[2] = {std::string(3000, 'a') + "\r\n", std::string(5000, 'b') + "\r\n"};
  Watchdog watchdog(120);
  pid_t savers[2];
  for (int k = 0; k < 2; ++k) {
    savers[k] = ::fork();
    ASSERT_GE(savers[k], 0);
    if (savers[k] == 0) {
      int failed = 0;
      for (int round = 0; round < 400; ++round) {
        std::string why;
        if (!ReplaceFile(target.string(), texts[k], why)) ++failed;
        const std::string now = Text(target);
        if (now != texts[0] && now != texts[1]) ::_exit(200);
      }
      ::_exit(std::min(failed, 100));
    }
  }
  for (const pid_t saver : savers) {
    int status = 0;
    ASSERT_EQ(::waitpid(saver, &status, 0), saver);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 200) << "the file was found torn or mixed";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "saves that failed";
  }
  const std::string last = Text(target);
  EXPECT_TRUE(last == texts[0] || last == texts[1]);
  EXPECT_TRUE(Temporaries("Options.dat").empty());
}

TEST_F(FileSavingTest, FifoUnderTheTemporaryNameNeitherBlocksNorIsTouched) {
  ASSERT_EQ(::mkfifo((dir / "Options.dat.new").c_str(), 0644), 0);
  ASSERT_EQ(::mkfifo((dir / "Options.dat.new-fifo00").c_str(), 0644), 0);
  Watchdog watchdog(20);
  ASSERT_TRUE(Save(dir / "Options.dat", "saved")) << error;
  EXPECT_EQ(Text(dir / "Options.dat"), "saved");
  auto left = Temporaries("Options.dat");
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"Options.dat.new", "Options.dat.new-fifo00"}));
}

// Settings linked to a file in another folder: that folder is someone else's, and a
// clean-up there could remove files that only look like ours.
TEST_F(FileSavingTest, LinkTargetsFolderIsNeverCleanedUp) {
  fs::create_directory(dir / "game");
  fs::create_directory(dir / "elsewhere");
  Write(dir / "elsewhere" / "trok-options", "old");
  fs::create_symlink(dir / "elsewhere" / "trok-options", dir / "game" / "Options.dat");
  Write(dir / "elsewhere" / "trok-options.new", "theirs");
  Write(dir / "elsewhere" / "trok-options.new-abcdef", "theirs too");
  ASSERT_EQ(::mkfifo((dir / "elsewhere" / "trok-options.new-fifo00").c_str(), 0644), 0);
  Watchdog watchdog(20);
  ASSERT_TRUE(Save(dir / "game" / "Options.dat", "new")) << error;
  EXPECT_EQ(Text(dir / "elsewhere" / "trok-options"), "new");
  auto left = NamesStartingWith(dir / "elsewhere", "trok-options.");
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"trok-options.new", "trok-options.new-abcdef",
                                            "trok-options.new-fifo00"}));
  EXPECT_EQ(Text(dir / "elsewhere" / "trok-options.new-abcdef"), "theirs too");

  // A link to a file in the same folder is still our folder: stale saves of it go.
  Write(dir / "game" / "Real.dat", "old");
  fs::create_symlink("Real.dat", dir / "game" / "Scores.dat");
  Write(dir / "game" / "Real.dat.new-Killed", "left by a killed save");
  ASSERT_TRUE(Save(dir / "game" / "Scores.dat", "new")) << error;
  EXPECT_EQ(Text(dir / "game" / "Real.dat"), "new");
  EXPECT_TRUE(NamesStartingWith(dir / "game", "Real.dat.new").empty());
}

TEST_F(FileSavingTest, LinkedTargetStaysALinkAndItsFileIsReplaced) {
  fs::create_directories(dir / "dotfiles" / "trok");
  const fs::path real = dir / "dotfiles" / "trok" / "Options.dat";
  Write(real, "old");
  ::chmod(real.c_str(), 0640);
  fs::create_directory(dir / "game");
  // A relative link, as `ln -s ../dotfiles/trok/Options.dat` makes it.
  fs::create_symlink("../dotfiles/trok/Options.dat", dir / "game" / "Options.dat");
  ASSERT_TRUE(Save(dir / "game" / "Options.dat", "new")) << error;
  EXPECT_TRUE(fs::is_symlink(dir / "game" / "Options.dat"));
  EXPECT_EQ(fs::read_symlink(dir / "game" / "Options.dat"), "../dotfiles/trok/Options.dat");
  EXPECT_EQ(Text(real), "new");
  EXPECT_EQ(Mode(real) & 07777, 0640u);
  EXPECT_TRUE(NamesStartingWith(dir / "game", "Options.dat.new").empty());
  EXPECT_TRUE(NamesStartingWith(dir / "dotfiles" / "trok", "Options.dat.new").empty());

  // A link whose file does not exist yet: the file is made where it points.
  fs::remove(real);
  ASSERT_TRUE(Save(dir / "game" / "Options.dat", "made")) << error;
  EXPECT_EQ(Text(real), "made");
  EXPECT_TRUE(fs::is_symlink(dir / "game" / "Options.dat"));
}

TEST_F(FileSavingTest, WhatCannotBeReplacedIsRefusedAndLeftAlone) {
  Watchdog watchdog(20);
  fs::create_directory(dir / "Folder.dat");
  EXPECT_FALSE(Save(dir / "Folder.dat", "x"));
  EXPECT_EQ(error, "Cannot save \"" + (dir / "Folder.dat").string() + "\": it is a folder.");
  EXPECT_TRUE(fs::is_directory(dir / "Folder.dat"));

  ASSERT_EQ(::mkfifo((dir / "Fifo.dat").c_str(), 0644), 0);
  EXPECT_FALSE(Save(dir / "Fifo.dat", "x"));
  EXPECT_TRUE(S_ISFIFO(Mode(dir / "Fifo.dat")));

  fs::create_symlink(dir / "Loop.dat", dir / "Loop.dat");
  EXPECT_FALSE(Save(dir / "Loop.dat", "x"));
  EXPECT_TRUE(fs::is_symlink(dir / "Loop.dat"));

  EXPECT_FALSE(Save(dir / "missing" / "Options.dat", "x"));
  EXPECT_EQ(error, "Cannot save \"" + (dir / "missing" / "Options.dat").string() +
                       "\": there is no such file.");
  for (const std::string name : {"Folder.dat", "Fifo.dat", "Loop.dat"})
    EXPECT_TRUE(Temporaries(name).empty()) << name;
}

TEST_F(FileSavingTest, FailedWriteKeepsTheOldFileAndLeavesNothing) {
  Write(dir / "HighScores.dat", "old table");
  {
    FullDiskWrites full;
    EXPECT_FALSE(Save(dir / "HighScores.dat", "new table"));
  }
  EXPECT_EQ(error, "Cannot save \"" + (dir / "HighScores.dat").string() + "\": the disk is full.");
  EXPECT_EQ(Text(dir / "HighScores.dat"), "old table");
  EXPECT_TRUE(Temporaries("HighScores.dat").empty());
}

TEST_F(FileSavingTest, FullTmpfsKeepsTheOldFileAndLeavesNothing) {
  SmallDisk disk(dir / "disk", 64);
  if (!disk.Mounted()) GTEST_SKIP() << disk.SkipReason();
  const fs::path file = dir / "disk" / "Options.dat";
  Write(file, "old");
  disk.Fill();
  EXPECT_FALSE(Save(file, std::string(20000, 'n')));
  EXPECT_EQ(Text(file), "old");
  EXPECT_TRUE(NamesStartingWith(dir / "disk", "Options.dat.new").empty());
  std::string picture(30000, 'p');
  EXPECT_EQ(WriteNewFile((dir / "disk" / "Capture000.bmp").string(), picture, error),
            NewFileResult::Failed);
  EXPECT_FALSE(NameTaken((dir / "disk" / "Capture000.bmp").string()));
  EXPECT_TRUE(NamesStartingWith(dir / "disk", "Capture000.bmp").empty());
}

TEST_F(FileSavingTest, NewFileNeverReplacesWhatHasTheName) {
  Watchdog watchdog(20);
  Write(dir / "Capture000.bmp", "earlier capture");
  fs::create_directory(dir / "Capture001.bmp");
  ASSERT_EQ(::mkfifo((dir / "Capture002.bmp").c_str(), 0644), 0);
  fs::create_symlink(dir / "elsewhere.bmp", dir / "Capture003.bmp");
  for (int n = 0; n < 4; ++n) {
    const std::string name = "Capture00" + std::to_string(n) + ".bmp";
    EXPECT_EQ(WriteNewFile((dir / name).string(), "picture", error), NewFileResult::NameTaken) << name;
  }
  EXPECT_EQ(Text(dir / "Capture000.bmp"), "earlier capture");
  EXPECT_FALSE(fs::exists(dir / "elsewhere.bmp")) << "a dangling link is not followed";
  ASSERT_EQ(WriteNewFile((dir / "Capture004.bmp").string(), "picture", error), NewFileResult::Written)
      << error;
  EXPECT_EQ(Text(dir / "Capture004.bmp"), "picture");
  {
    FullDiskWrites full;
    EXPECT_EQ(WriteNewFile((dir / "Capture005.bmp").string(), "picture", error), NewFileResult::Failed);
  }
  EXPECT_FALSE(NameTaken((dir / "Capture005.bmp").string()));
  for (int n = 0; n < 6; ++n)
    EXPECT_TRUE(NamesStartingWith(dir, "Capture00" + std::to_string(n) + ".bmp.new").empty()) << n;
}

}  // namespace
