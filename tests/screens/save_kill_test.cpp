// Saves killed at random moments: a child process saves Options.dat and HighScores.dat
// over and over, each write slowed to a byte at a time, and is killed with SIGKILL;
// after every kill each file is the whole old or the whole new text. More rounds:
// TROK_KILL_ROUNDS (default 200).
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "base/file_saving.h"
#include "screens/high_score_table.h"
#include "screens/options.h"
#include "screens/options_file.h"
#include "support/file_faults.h"

namespace fs = std::filesystem;

namespace {

std::string Text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int Rounds() {
  const char* text = std::getenv("TROK_KILL_ROUNDS");
  const int rounds = text ? std::atoi(text) : 0;
  return rounds > 0 ? rounds : 200;
}

// Saves the two versions of both files in turn until it is killed, as the screens
// save them: their text through the one saver.
[[noreturn]] void SaveForever(const std::string (&options)[2], const std::string (&scores)[2]) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  const pid_t parent = ::getppid();
  CrawlingWrites();
  for (int i = 0; ::getppid() == parent; ++i) {
    std::string error;
    ReplaceFile(OptionsFileName, options[i % 2], error);
    ReplaceFile("HighScores.dat", scores[i % 2], error);
  }
  ::_exit(0);
}

class SaveKillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("trok-kill-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    previous = fs::current_path();
    fs::current_path(dir);
  }
  void TearDown() override {
    fs::current_path(previous);
    fs::remove_all(dir);
  }
  fs::path dir, previous;
};

TEST_F(SaveKillTest, KilledSavesLeaveTheOldOrTheNewFileWhole) {
  GameOptions old;
  old.GameSpeed = "16";
  old.sound = old.music = "On";
  for (auto& player : old.players)
    for (auto& key : player.keys) key = KeyBinding{"Up", 38};
  GameOptions changed = old;
  changed.GameSpeed = "3";
  changed.players[1].keys[4] = KeyBinding{"N5", 101};
  const std::string options[2] = {FormatOptions(old), FormatOptions(changed)};

  HighScoreTable table;
  ASSERT_EQ(ParseHighScores(Text(fs::path(TROK_SOURCE_DIR) / "data" / "HighScores.dat"), table),
            HighScoreParse::Ok);
  const std::string oldScores = FormatHighScores(table);
  table.cell[1][2] = "A name long enough to make this save take a while longer";
  const std::string scores[2] = {oldScores, FormatHighScores(table)};

  std::string error;
  ASSERT_TRUE(ReplaceFile(OptionsFileName, options[0], error)) << error;
  ASSERT_TRUE(ReplaceFile("HighScores.dat", scores[0], error)) << error;

  std::mt19937 rng(20240613);
  std::uniform_int_distribution<int> delayUs(0, 40000);
  int killedMidSave = 0;
  const int rounds = Rounds();
  for (int round = 0; round < rounds; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) SaveForever(options, scores);
    ::usleep(static_cast<useconds_t>(delayUs(rng)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    const std::string optionsNow = Text(OptionsFileName), scoresNow = Text("HighScores.dat");
    ASSERT_TRUE(optionsNow == options[0] || optionsNow == options[1])
        << "round " << round << ": Options.dat is torn:\n" << optionsNow;
    ASSERT_TRUE(scoresNow == scores[0] || scoresNow == scores[1])
        << "round " << round << ": HighScores.dat is torn:\n" << scoresNow;
    if (!NamesStartingWith(dir, "Options.dat.new").empty() ||
        !NamesStartingWith(dir, "HighScores.dat.new").empty())
      ++killedMidSave;
  }
  // The kills did land inside saves, and what they left behind goes at the next save.
  EXPECT_GT(killedMidSave, rounds / 2);
  ASSERT_TRUE(ReplaceFile(OptionsFileName, options[1], error)) << error;
  ASSERT_TRUE(ReplaceFile("HighScores.dat", scores[1], error)) << error;
  EXPECT_EQ(NamesStartingWith(dir, "Options.dat.new"), std::vector<std::string>{});
  EXPECT_EQ(NamesStartingWith(dir, "HighScores.dat.new"), std::vector<std::string>{});
  std::printf("%d kills, %d inside a save\n", rounds, killedMidSave);
}

}  // namespace
