// The real program reading a tampered game directory: a read error takes the path the
// game has for it, in our words, and nothing waits on a FIFO.
#include <sys/stat.h>

#include <algorithm>

#include "audio/sound_effects.h"
#include "shell/hostile_fixture.h"
#include "world/level_file.h"

namespace fs = std::filesystem;

namespace {

// A 1-bit bitmap of any size, every row present.
void WriteOneBitBmp(const fs::path& path, int width, int height) {
  const uint32_t row = static_cast<uint32_t>((width + 31) / 32 * 4);
  const uint32_t offset = 14 + 40 + 8;
  std::vector<uint8_t> b(offset + static_cast<size_t>(row) * height, 0x5A);
  std::fill(b.begin(), b.begin() + offset, 0);
  auto put = [&](size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put(2, static_cast<uint32_t>(b.size()), 4);
  put(6, 0, 4);
  put(10, offset, 4);
  put(14, 40, 4);
  put(18, static_cast<uint32_t>(width), 4);
  put(22, static_cast<uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, 1, 2);
  put(54, 0x000000, 4);
  put(58, 0xFFFFFF, 4);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()),
                                              static_cast<std::streamsize>(b.size()));
}

enum class Kind { Folder, Fifo };

void MakeUnreadable(const fs::path& path, Kind kind) {
  fs::remove(path);
  if (kind == Kind::Folder)
    fs::create_directory(path);
  else
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
}

class HostileReadingTest : public HostileDirectoryTest, public ::testing::WithParamInterface<Kind> {
 protected:
  std::string What() const {
    return GetParam() == Kind::Folder ? "it is a folder, not a file" : "it is a pipe (FIFO), not a file";
  }
};

TEST_P(HostileReadingTest, TileThatCannotBeReadEndsWithTheTwoMessages) {
  Watchdog watchdog;
  MakeGameDirectory(1);
  CopyObjects();
  MakeUnreadable(dir / "Objects" / "05-Chigger.bmp", GetParam());
  StartAnsweringBoxes();
  TypeFirstKey();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], "Cannot read \"Objects/05-Chigger.bmp\": " + What() + ".");
  EXPECT_EQ(boxes[1], ObjectsError);
  EXPECT_TRUE(program->Terminated());
  EXPECT_FALSE(program->StartupDone());
}

TEST_P(HostileReadingTest, WaveThatCannotBeReadIsSilentWithoutAMessage) {
  Watchdog watchdog;
  MakeGameDirectory(1);
  fs::copy(fs::path(TROK_GAME_DIR) / "Sounds", dir / "Sounds");
  MakeUnreadable(dir / "Sounds" / SoundFileName(2), GetParam());
  MakeUnreadable(dir / "Sounds" / SoundFileName(23), GetParam());
  StartAnsweringBoxes();
  TypeFirstKey();
  EXPECT_TRUE(boxes.empty()) << boxes.front();
  ASSERT_TRUE(program->InTitleMenu());
  EXPECT_EQ(program->SoundModule().SlotOf(2), SoundEffects::NoSlot);
  EXPECT_EQ(program->SoundModule().SlotOf(23), SoundEffects::NoSlot);
  EXPECT_NE(program->SoundModule().SlotOf(1), SoundEffects::NoSlot);
  EXPECT_NE(program->SoundModule().SlotOf(24), SoundEffects::NoSlot);
}

TEST_P(HostileReadingTest, TitlePictureThatCannotBeReadLeavesTheAreaEmpty) {
  Watchdog watchdog;
  MakeGameDirectory(1);
  fs::create_directory(dir / "Pictures");
  MakeUnreadable(dir / "Pictures" / "Title.jpg", GetParam());
  StartAnsweringBoxes();
  ReachTitleMenu();
  PushKey(VK::F12, Now() + 5);
  RunFor(100);
  ASSERT_EQ(program->Visible(), &program->Help());
  EXPECT_TRUE(program->Help().TitleImage->image.Empty());
  EXPECT_TRUE(boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(FolderOrFifo, HostileReadingTest, ::testing::Values(Kind::Folder, Kind::Fifo),
                         [](const auto& info) { return info.param == Kind::Folder ? "Folder" : "Fifo"; });

class HostileLevelsTest : public HostileDirectoryTest {};

// The count asks whether each file is there; the one that cannot be read fails when it
// is loaded, and the game goes back to the title menu.
TEST_F(HostileLevelsTest, LevelThatCannotBeReadCountsAndFailsWhenLoaded) {
  Watchdog watchdog;
  MakeGameDirectory(1);
  ASSERT_EQ(::mkfifo((dir / "FELDS" / "FELD.01").c_str(), 0644), 0);
  fs::copy_file(dir / "FELDS" / "FELD.00", dir / "FELDS" / "FELD.02");
  fs::create_directory(dir / "FELDS" / "FELD.03");  // a folder is no level: the count ends
  fs::copy_file(dir / "FELDS" / "FELD.00", dir / "FELDS" / "FELD.04");
  StartAnsweringBoxes();
  ReachTitleMenu();
  EXPECT_EQ(program->GameState().LevelCount, 3);

  PushKey(VK::F6, Now() + 5);
  RunFor(300);
  ASSERT_EQ(program->LevelLabel(), "1");
  PushKey(VK::F2, Now() + 5);
  RunFor(300);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], LevelLoadError);
  EXPECT_TRUE(program->InTitleMenu());
  EXPECT_TRUE(program->GameStopped());

  // The levels around it play.
  answerBoxes = false;
  bool played = false;
  PushKey(VK::F6, Now() + 5);
  PushKey(VK::F2, Now() + 300);
  At(Now() + 700, [&] { played = program->InGame() && !program->GameStopped(); });
  PushKey(VK::Escape, Now() + 800);
  PushKey('Y', Now() + 900);
  RunFor(1200);
  EXPECT_TRUE(played);
  EXPECT_EQ(program->LevelLabel(), "2");
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(HostileLevelsTest, FirstLevelThatCannotBeReadStillCounts) {
  Watchdog watchdog;
  MakeGameDirectory(0);
  ASSERT_EQ(::mkfifo((dir / "FELDS" / "FELD.00").c_str(), 0644), 0);
  StartAnsweringBoxes();
  ReachTitleMenu();
  EXPECT_EQ(program->GameState().LevelCount, 1);
  EXPECT_TRUE(boxes.empty());
  PushKey(VK::F2, Now() + 5);
  RunFor(300);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], LevelLoadError);
  EXPECT_TRUE(program->InTitleMenu());
}

TEST_F(HostileLevelsTest, UnreadableFirstLevelStillCounts) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file; the FIFO cases cover this";
  MakeGameDirectory(1);
  ::chmod((dir / "FELDS" / "FELD.00").c_str(), 0);
  StartAnsweringBoxes();
  ReachTitleMenu();
  EXPECT_EQ(program->GameState().LevelCount, 1);
  PushKey(VK::F2, Now() + 5);
  RunFor(300);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], LevelLoadError);
}

class HostilePicturesTest : public HostileDirectoryTest {};

// An 8 MB bitmap that would be a 256 MB picture, 88 of which once exhausted memory.
TEST_F(HostilePicturesTest, AbsurdTileSizeIsRefusedWithTheTwoMessages) {
  MakeGameDirectory(1);
  CopyObjects();
  WriteOneBitBmp(dir / "Objects" / "98-LaserSet4-5.bmp", 8192, 8192);
  StartAnsweringBoxes();
  TypeFirstKey();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0],
            "\"Objects/98-LaserSet4-5.bmp\" is not a valid bitmap: the picture is unreasonably "
            "large (8192 x 8192; at most 4096 x 4096).");
  EXPECT_EQ(boxes[1], ObjectsError);
  EXPECT_TRUE(program->Terminated());
}

TEST_F(HostilePicturesTest, AbsurdTitlePictureSizeLeavesTheAreaEmpty) {
  MakeGameDirectory(1);
  fs::create_directory(dir / "Pictures");
  // A 600-byte progressive picture that claims 65500 x 65500 pixels.
  fs::copy_file(fs::path(TROK_SOURCE_DIR) / "tests/fuzz/regressions/jpeg_file/progressive-65500x65500",
                dir / "Pictures" / "Title.jpg");
  StartAnsweringBoxes();
  ReachTitleMenu();
  EXPECT_TRUE(program->Help().TitleImage->image.Empty());
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
