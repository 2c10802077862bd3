#include <filesystem>
#include <fstream>
#include <functional>

#include "base/keys.h"
#include "platform/sdl_audio_door.h"
#include "screens/options.h"
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
  bool SynthesiserReady() const { return static_cast<SdlAudioDoor&>(program->Audio()).MidiReady(); }
  // Starts a game, lets it run for `ms`, and aborts it (the game's loop runs inside
  // RunFor, so every key is queued first).
  void PlayAGame(int ms, std::function<void()> during = {}) {
    const uint64_t t = Now();
    PushKey(VK::F2, t + 5);
    if (during) At(t + 100, during);
    PushKey(VK::Escape, t + 5 + static_cast<uint64_t>(ms));
    PushKey('Y', t + 105 + static_cast<uint64_t>(ms));
    RunFor(ms + 400);
    ASSERT_TRUE(program->InTitleMenu());
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
  EXPECT_FALSE(program->MusicModule().OpeningSongReady);       // nor kept
}

TEST_F(MusicProgramTest, TheSoundFontIsReadOnlyForAGameWithMusic) {
  StartProgram();
  ReachTitleMenu();
  EXPECT_FALSE(SynthesiserReady());
  program->Options().MusicEdit->text = "Off";
  PlayAGame(300);
  EXPECT_FALSE(SynthesiserReady());
  program->Options().MusicEdit->text = "On";
  bool readyInGame = false;
  PlayAGame(300, [&] { readyInGame = program->InGame() && SynthesiserReady(); });
  EXPECT_TRUE(readyInGame);
}

TEST_F(MusicProgramTest, DamagedPiecesAreReportedOncePerPieceAndGame) {
  std::filesystem::remove(dir / "Music");
  std::filesystem::create_directory(dir / "Music");
  for (const char* name : {"MIDIFILE00.MID", "MIDIFILE01.MID", "MIDIFILE02.MID"})
    std::ofstream(dir / "Music" / name) << "MThd and then nothing that a synthesiser could play";
  StartProgram();
  ReachTitleMenu();
  ASSERT_TRUE(program->OpenBoxes().empty());
  EXPECT_EQ(program->MusicModule().MusicCount, 3);
  AnswerBoxes(Now() + 50, 30);
  PlayAGame(3000);  // close to two hundred passes
  std::vector<std::string> boxes = boxesSeen;
  std::sort(boxes.begin(), boxes.end());
  const std::vector<std::string> eachOnce{"Error playing MIDI music file # 0",
                                          "Error playing MIDI music file # 1",
                                          "Error playing MIDI music file # 2"};
  EXPECT_EQ(boxes, eachOnce);
  boxesSeen.clear();
  AnswerBoxes(Now() + 50, 10);
  PlayAGame(1000);
  boxes = boxesSeen;
  std::sort(boxes.begin(), boxes.end());
  EXPECT_EQ(boxes, eachOnce);  // a new game tries each piece again
}

}  // namespace
