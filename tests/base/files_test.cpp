#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/files.h"
#include "support/watchdog.h"

namespace {

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trok_files_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string Make(const std::string& name) {
    std::string path = dir + "/" + name;
    std::ofstream(path) << "16\r\n";
    return path;
  }
  std::string dir;
};

}  // namespace

using FilesTest = TempDir;

TEST_F(FilesTest, ExistsOnlyForRegularFiles) {
  std::string file = Make("Options.dat");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(dir)) << "a directory is not a file";
  EXPECT_FALSE(FileExists(dir + "/HighScores.dat"));
}

TEST_F(FilesTest, ReadOnlyIsTheOwnersWriteBitAndCanBeCleared) {
  std::string file = Make("HighScores.dat");
  EXPECT_FALSE(FileIsReadOnly(file));
  ASSERT_EQ(chmod(file.c_str(), 0444), 0);
  EXPECT_TRUE(FileIsReadOnly(file));
  EXPECT_TRUE(MakeFileWritable(file));
  EXPECT_FALSE(FileIsReadOnly(file));
  struct stat st;
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u) << "only the owner's write bit is added";
  EXPECT_FALSE(FileIsReadOnly(dir + "/missing"));
  EXPECT_FALSE(MakeFileWritable(dir + "/missing"));
}

TEST_F(FilesTest, CurrentDirectoryEndsWithOneSlash) {
  std::string before = CurrentDirectoryWithSlash();
  ASSERT_EQ(chdir(dir.c_str()), 0);
  std::string inside = CurrentDirectoryWithSlash();
  ASSERT_EQ(chdir("/"), 0);
  std::string root = CurrentDirectoryWithSlash();
  ASSERT_EQ(chdir(before.c_str()), 0);
  EXPECT_EQ(std::filesystem::canonical(inside), std::filesystem::canonical(dir));
  EXPECT_EQ(inside.back(), '/');
  EXPECT_NE(inside[inside.size() - 2], '/');
  EXPECT_EQ(root, "/") << "the root is not doubled";
}

// Whatever stands under a name the game reads, the reader answers at once, in our words,
// and never throws.
TEST_F(FilesTest, ReaderRefusesEverythingButRegularFilesWithoutWaiting) {
  Watchdog watchdog(20);  // a FIFO opened the ordinary way would wait for ever
  const std::string fifo = dir + "/fifo.bmp";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  const std::string folder = dir + "/folder.bmp";
  std::filesystem::create_directory(folder);
  struct Case {
    std::string path, reason;
  };
  for (const Case& c : {Case{folder, "it is a folder, not a file"},
                        Case{fifo, "it is a pipe (FIFO), not a file"},
                        Case{"/dev/null", "it is a device, not a file"},
                        Case{dir + "/missing.bmp", "there is no such file"},
                        Case{dir + "/missing/x.bmp", "there is no such file"}}) {
    SCOPED_TRACE(c.path);
    std::vector<uint8_t> bytes{1, 2, 3};
    std::string text = "old", error;
    EXPECT_FALSE(ReadWholeFile(c.path, bytes, error));
    EXPECT_EQ(error, "Cannot read \"" + c.path + "\": " + c.reason + ".");
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(ReadWholeFile(c.path, text, error));
    EXPECT_FALSE(ReadFileStart(c.path, 10, bytes, error));
  }
}

TEST_F(FilesTest, ReaderTakesWholeFilesThroughLinksUpToItsLimit) {
  const std::string file = dir + "/FELD.00";
  std::ofstream(file, std::ios::binary) << std::string(3000, 'a') << "end";
  std::filesystem::create_symlink(file, dir + "/link");
  std::string text, error;
  ASSERT_TRUE(ReadWholeFile(dir + "/link", text, error)) << error;
  EXPECT_EQ(text.size(), 3003u);
  EXPECT_EQ(text.substr(3000), "end");
  EXPECT_TRUE(ReadWholeFile(file, text, error, 3003));
  EXPECT_FALSE(ReadWholeFile(file, text, error, 3002));
  EXPECT_EQ(error, "Cannot read \"" + file + "\": it is larger than 3002 bytes.");

  std::vector<uint8_t> start;
  ASSERT_TRUE(ReadFileStart(file, 2200, start, error));
  EXPECT_EQ(start.size(), 2200u);
  ASSERT_TRUE(ReadFileStart(file, 5000, start, error));
  EXPECT_EQ(start.size(), 3003u) << "a shorter file gives what it has";
  std::ofstream(dir + "/empty");
  ASSERT_TRUE(ReadWholeFile(dir + "/empty", start, error));
  EXPECT_TRUE(start.empty());
}

TEST_F(FilesTest, ExistenceInItsThreeSenses) {
  const std::string file = Make("FELD.00");
  const std::string fifo = dir + "/FELD.01";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  std::filesystem::create_symlink(dir + "/nowhere", dir + "/dangling");
  // A regular file.
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(fifo));
  // Anything but a folder: what a level count or an options file asks.
  EXPECT_TRUE(FileOrSpecialExists(file));
  EXPECT_TRUE(FileOrSpecialExists(fifo));
  EXPECT_FALSE(FileOrSpecialExists(dir));
  EXPECT_FALSE(FileOrSpecialExists(dir + "/dangling"));
  // Any name at all: what a capture must not take.
  EXPECT_TRUE(NameTaken(dir + "/dangling"));
  EXPECT_TRUE(NameTaken(dir));
  EXPECT_TRUE(NameTaken(fifo));
  EXPECT_FALSE(NameTaken(dir + "/Capture000.bmp"));
}
