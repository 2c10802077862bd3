#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/files.h"

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
