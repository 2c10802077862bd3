#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "audio/music.h"

namespace fs = std::filesystem;

namespace {

class MusicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("trok-music-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir / "Music");
    previous = fs::current_path();
    fs::current_path(dir);
    music.ShowError = [this](const std::string& text) { errors.push_back(text); };
  }
  void TearDown() override {
    music.ShutDownMusic();
    fs::current_path(previous);
    fs::remove_all(dir);
  }
  // Copies a piece the music maker built into Music/ under number `to`.
  void Piece(int from, int to) {
    char a[32], b[32];
    std::snprintf(a, sizeof a, "MIDIFILE%02d.MID", from);
    std::snprintf(b, sizeof b, "MIDIFILE%02d.MID", to);
    fs::copy_file(fs::path(TROK_GAME_DIR) / "Music" / a, dir / "Music" / b);
  }
  void Broken(int to) {
    char b[32];
    std::snprintf(b, sizeof b, "MIDIFILE%02d.MID", to);
    std::ofstream(dir / "Music" / b);  // empty: too short to be any kind of music
  }
  std::string Load() {
    int calls = 0;
    std::string error = music.LoadMusic([&] { ++calls; });
    EXPECT_EQ(calls, music.MusicCount + 1);
    return error;
  }

  fs::path dir, previous;
  Music music;
  std::vector<std::string> errors;
};

TEST_F(MusicTest, CountStopsAtTheFirstGap) {
  Piece(0, 0);
  Piece(1, 1);
  Piece(2, 2);
  Piece(0, 4);
  EXPECT_EQ(Load(), "");
  EXPECT_EQ(music.MusicCount, 3);
  EXPECT_TRUE(music.MusicEnabled);
  for (int s = 0; s < 3; ++s) EXPECT_EQ(music.Slot(s).state, 1) << s;
  EXPECT_EQ(music.Slot(3).state, 0);  // file 04 never loaded
  EXPECT_EQ(music.Slot(3).piece, -1);
}

TEST_F(MusicTest, NoFilesMeansNoMusicAndNoError) {
  fs::remove(dir / "Music");
  EXPECT_EQ(Load(), "");
  EXPECT_EQ(music.MusicCount, 0);
  EXPECT_FALSE(music.MusicEnabled);
  EXPECT_FALSE(music.AnyMusicPlaying());
}

TEST_F(MusicTest, UnloadableFileTakesNoSlotAndReportsWhenPicked) {
  Piece(0, 0);
  Broken(1);
  Piece(2, 2);
  EXPECT_EQ(Load(), "");
  EXPECT_EQ(music.MusicCount, 3);
  EXPECT_EQ(music.Slot(0).state, 1);
  EXPECT_EQ(music.Slot(1).state, 1);  // file 02 moved up into slot 1
  EXPECT_EQ(music.Slot(2).state, 0);
  music.PlayMusic(2);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Error playing MIDI music file # 2");
  EXPECT_FALSE(music.AnyMusicPlaying());
  music.PlayMusic(1);
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_TRUE(music.AnyMusicPlaying());
}

TEST_F(MusicTest, PlayingStoppingAndSwitchingPieces) {
  Piece(0, 0);
  Piece(1, 1);
  ASSERT_EQ(Load(), "");
  EXPECT_FALSE(music.AnyMusicPlaying());
  music.PlayMusic(0);
  EXPECT_TRUE(music.AnyMusicPlaying());
  EXPECT_EQ(music.CurrentSlot(), 0);
  EXPECT_EQ(music.QuerySlot(0), 2);
  // Starting another piece stops the current one.
  music.PlayMusic(1);
  EXPECT_EQ(music.CurrentSlot(), 1);
  EXPECT_EQ(music.QuerySlot(0), 3);
  EXPECT_EQ(music.QuerySlot(1), 2);
  music.StopAllMusic();
  EXPECT_FALSE(music.AnyMusicPlaying());
  EXPECT_EQ(music.Slot(0).state, 3);
  EXPECT_EQ(music.Slot(1).state, 3);
  EXPECT_EQ(music.CurrentSlot(), Music::NoSlot);
  EXPECT_TRUE(errors.empty());
  music.UnloadMusic();
  EXPECT_EQ(music.Slot(0).state, 0);
  EXPECT_EQ(music.QuerySlot(0), 0);
  EXPECT_FALSE(music.StopSlot(0));
}

TEST_F(MusicTest, NothingPlaysWhileMusicIsOff) {
  Piece(0, 0);
  ASSERT_EQ(Load(), "");
  music.MusicEnabled = false;
  music.PlayMusic(0);
  music.PlayMusic(7);  // not even the error box
  EXPECT_FALSE(music.AnyMusicPlaying());
  EXPECT_TRUE(errors.empty());
  EXPECT_NE(music.Slot(0).state, 2);
  EXPECT_EQ(music.CurrentSlot(), Music::NoSlot);
}

TEST_F(MusicTest, OutOfRangeNumbersAreRefusedSafely) {
  Piece(0, 0);
  ASSERT_EQ(Load(), "");
  music.PlayMusic(-1);
  music.PlayMusic(64);
  EXPECT_EQ(errors.size(), 2u);
  EXPECT_EQ(music.QuerySlot(-3), 0);
  EXPECT_EQ(music.QuerySlot(99), 0);
  EXPECT_FALSE(music.AnyMusicPlaying());
}

}  // namespace
