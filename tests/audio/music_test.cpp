#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "audio/music.h"
#include "support/recording_audio.h"

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
  RecordingAudioDoor door;
  Music music{door};
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

TEST_F(MusicTest, DamagedPiecesTakeNoSlot) {
  Piece(0, 0);
  // A header that promises a track the file does not hold.
  std::ofstream(dir / "Music" / "MIDIFILE01.MID", std::ios::binary)
      .write("MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\1\0\0\x90", 24);
  std::ofstream(dir / "Music" / "MIDIFILE02.MID") << "not music at all, just words";
  Piece(1, 3);
  EXPECT_EQ(Load(), "");
  EXPECT_EQ(music.MusicCount, 4);
  EXPECT_EQ(music.Slot(0).state, 1);
  EXPECT_EQ(music.Slot(1).state, 1);  // file 03
  EXPECT_EQ(music.Slot(2).state, 0);
  EXPECT_EQ(door.loaded.size(), 2u);
}

TEST_F(MusicTest, GameStartSetsTheSwitchAndReadiesTheSynthesiserOnlyForMusic) {
  Piece(0, 0);
  ASSERT_EQ(Load(), "");
  music.StartOfGame(false);
  EXPECT_FALSE(music.MusicEnabled);
  EXPECT_EQ(door.prepareCalls, 0);
  music.StartOfGame(true);
  EXPECT_TRUE(music.MusicEnabled);
  EXPECT_EQ(door.prepareCalls, 1);

  fs::remove_all(dir / "Music");
  Music none(door);
  ASSERT_EQ(none.LoadMusic({}), "");
  none.StartOfGame(true);
  EXPECT_FALSE(none.MusicEnabled);  // nothing to play
  EXPECT_EQ(door.prepareCalls, 1);
}

TEST_F(MusicTest, EachPassStartsARandomPieceWhenNoneIsPlaying) {
  Piece(0, 0);
  Piece(1, 1);
  Piece(2, 2);
  ASSERT_EQ(Load(), "");
  music.StartOfGame(true);
  std::vector<int> draws;
  int next = 2;
  auto random = [&](int k) {
    draws.push_back(k);
    return next;
  };
  music.KeepMusicPlaying(random);
  EXPECT_EQ(music.CurrentSlot(), 2);
  music.KeepMusicPlaying(random);  // still playing: no new pick
  EXPECT_EQ(draws, std::vector<int>{3});
  door.EndCurrentPiece();
  next = 0;
  music.KeepMusicPlaying(random);
  EXPECT_EQ(music.CurrentSlot(), 0);
  EXPECT_EQ(draws, (std::vector<int>{3, 3}));
  EXPECT_EQ(door.plays.size(), 2u);
  EXPECT_TRUE(errors.empty());

  // With music off the pick is still drawn on every pass, and nothing plays.
  music.StopAllMusic();
  music.StartOfGame(false);
  music.KeepMusicPlaying(random);
  music.KeepMusicPlaying(random);
  EXPECT_EQ(draws.size(), 4u);
  EXPECT_EQ(door.plays.size(), 2u);
}

TEST_F(MusicTest, APieceThatFailsIsReportedOnceAndNotPickedAgainInThatGame) {
  Piece(0, 0);
  Broken(1);
  Broken(2);
  ASSERT_EQ(Load(), "");  // one slot filled, three numbers
  music.StartOfGame(true);
  std::vector<int> picks{2, 2, 0};  // draws in order
  std::vector<int> ranges;
  auto random = [&](int k) {
    ranges.push_back(k);
    const int pick = picks.front();
    picks.erase(picks.begin());
    return std::min(pick, k - 1);
  };
  music.KeepMusicPlaying(random);  // number 2 fails
  music.KeepMusicPlaying(random);  // chosen among 0 and 1: 1 fails
  music.KeepMusicPlaying(random);  // only 0 is left
  EXPECT_EQ(errors, (std::vector<std::string>{"Error playing MIDI music file # 2",
                                              "Error playing MIDI music file # 1"}));
  EXPECT_EQ(ranges, (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(music.CurrentSlot(), 0);

  // Every piece failed: no box and no pick on later passes.
  Music broken(door);
  fs::remove(dir / "Music" / "MIDIFILE00.MID");
  Broken(0);
  broken.ShowError = music.ShowError;
  ASSERT_EQ(broken.LoadMusic({}), "");
  broken.StartOfGame(true);
  errors.clear();
  ranges.clear();
  picks = {0, 0, 0, 0, 0, 0};
  for (int pass = 0; pass < 50; ++pass) broken.KeepMusicPlaying(random);
  EXPECT_EQ(errors.size(), 3u);
  EXPECT_EQ(ranges, (std::vector<int>{3, 2, 1}));
  // A new game may try them again, once each.
  broken.StartOfGame(true);
  picks = {0, 0, 0};
  for (int pass = 0; pass < 10; ++pass) broken.KeepMusicPlaying(random);
  EXPECT_EQ(errors.size(), 6u);
}

}  // namespace
