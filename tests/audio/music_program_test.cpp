#include <filesystem>

#include "base/keys.h"
#include "shell/game_directory_fixture.h"

namespace {

class MusicProgramTest : public GameDirectoryTest {
 protected:
  void SetUp() override {
    MakeGameDirectory(1);
    for (const char* folder : {"Sounds", "Music"})
      std::filesystem::create_directory_symlink(std::filesystem::path(TROK_GAME_DIR) / folder,
                                                dir / folder);
  }
};

TEST_F(MusicProgramTest, GameStopsTheOpeningSongAndPlaysMidiUntilItEnds) {
  StartProgram();
  ReachTitleMenu();
  ASSERT_TRUE(program->MusicModule().OpeningSongReady);
  EXPECT_GE(program->MusicModule().MusicCount, 3);
  EXPECT_TRUE(program->MusicModule().OpeningSongPlaying());
  EXPECT_FALSE(program->MusicModule().AnyMusicPlaying());

  const uint64_t t = Now();
  PushKey(VK::F2, t + 5);
  bool songDuringGame = true, midiDuringGame = false;
  At(t + 400, [&] {
    songDuringGame = program->MusicModule().OpeningSongPlaying();
    midiDuringGame = program->InGame() && program->MusicModule().AnyMusicPlaying();
  });
  PushKey(VK::Escape, t + 600);
  PushKey('Y', t + 700);
  RunFor(1000);
  EXPECT_FALSE(songDuringGame);
  EXPECT_TRUE(midiDuringGame);
  ASSERT_TRUE(program->InTitleMenu());
  EXPECT_FALSE(program->MusicModule().AnyMusicPlaying());
  EXPECT_FALSE(program->MusicModule().OpeningSongPlaying());  // not restarted
}

}  // namespace
