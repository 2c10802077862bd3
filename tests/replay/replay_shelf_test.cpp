// The Replays folder keeps the newest games and every game that finished a level,
// entered the high-score table or is kept for a bug report, and never touches a file it
// did not make.
#include "shell/replay_shelf.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "replay/replay_file.h"

namespace fs = std::filesystem;

namespace {

class ReplayShelfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trok_shelf_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string Keep(int64_t when, bool finished = false, bool highScore = false, bool forReport = false) {
    Replay replay;
    replay.settings.recordedAt = when;
    replay.settings.levelIndex = 7;
    replay.end.levelFinished = finished;
    std::string error;
    const std::string path = KeepReplay(dir.string() + "/", replay, highScore, error, forReport);
    EXPECT_FALSE(path.empty()) << error;
    return fs::path(path).filename().string();
  }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir / ReplayFolderName)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir;
};

TEST_F(ReplayShelfTest, TheNewestFiftyStayAndSoDoesEveryGameWorthKeeping) {
  const int64_t t0 = 1796000000;
  const std::string finished = Keep(t0 + 1, true);
  const std::string highScore = Keep(t0 + 2, false, true);
  const std::string wentApart = Keep(t0 + 3, false, false, true);
  std::vector<std::string> plain;
  for (int i = 0; i < 60; ++i) plain.push_back(Keep(t0 + 100 + i * 60));
  // Two games within one second keep both.
  const std::string twin = Keep(t0 + 100 + 59 * 60);
  EXPECT_NE(twin, plain.back());
  // Someone's files in the folder, some looking like ours.
  std::ofstream(dir / ReplayFolderName / "notes.txt") << "mine";
  const std::string lookalike = "2000-01-01_00-00-00_level01_1p.trokreplay";
  ASSERT_EQ(::mkfifo((dir / ReplayFolderName / lookalike).c_str(), 0644), 0);
  Keep(t0 + 100000);

  const auto names = Names();
  for (const std::string& kept : {finished, highScore, wentApart, twin, std::string("notes.txt"), lookalike})
    EXPECT_TRUE(std::binary_search(names.begin(), names.end(), kept)) << kept;
  // 50 plain games: the newest, the twin among them.
  int plainLeft = 0;
  for (const std::string& name : plain) plainLeft += std::binary_search(names.begin(), names.end(), name);
  EXPECT_EQ(plainLeft, ReplaysKept - 2);
  EXPECT_FALSE(std::binary_search(names.begin(), names.end(), plain.front()));
  EXPECT_TRUE(std::binary_search(names.begin(), names.end(), plain.back()));
  EXPECT_NE(finished.find("_level07_1p_finished"), std::string::npos) << finished;
  EXPECT_NE(highScore.find("_highscore"), std::string::npos) << highScore;
  EXPECT_NE(wentApart.find("_level07_1p_desync"), std::string::npos) << wentApart;
}

TEST_F(ReplayShelfTest, AFolderThatCannotBeMadeIsAReasonNotACrash) {
  std::ofstream(dir / ReplayFolderName) << "a file where the folder would be";
  Replay replay;
  std::string error;
  EXPECT_TRUE(KeepReplay(dir.string() + "/", replay, false, error).empty());
  EXPECT_FALSE(error.empty());
}

}  // namespace
