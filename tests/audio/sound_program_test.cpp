#include <algorithm>
#include <filesystem>

#include "base/keys.h"
#include "screens/options.h"
#include "platform/sdl_audio_door.h"
#include "shell/game_directory_fixture.h"
#include "support/broken_sound_device.h"
#include "support/recording_audio.h"

namespace {

const char* const WavError =
    "Error loading WAV sounds. Please make sure the 'Sounds' folder exists in the directory of "
    "this program.";
const char* const MidiError =
    "Error loading MIDI Music Please make sure the 'Music' folder exists in the directory of "
    "this program.";

class SoundProgramTest : public GameDirectoryTest {
 protected:
  void SetUp() override {
    MakeGameDirectory(1);
    std::filesystem::create_directory_symlink(std::filesystem::path(TROK_GAME_DIR) / "Sounds",
                                              dir / "Sounds");
  }
  // The real program over SDL's door, with a record of the effects it started.
  void StartRecordedProgram(SoundLibraryNames libraries = {}) {
    auto door = std::make_unique<RecordingAudioDoor>(std::make_unique<SdlAudioDoor>(libraries));
    audio = door.get();
    StartProgram(std::move(door));
  }
  void LinkMusic() {
    std::filesystem::create_directory_symlink(std::filesystem::path(TROK_GAME_DIR) / "Music",
                                              dir / "Music");
  }
  int Plays(int number) {
    const int slot = program->SoundModule().SlotOf(number);
    return slot == SoundEffects::NoSlot ? 0 : audio->StartsOn(slot);
  }
  // Starts a game, fires to the right a moment, and aborts; returns the shot sound's plays.
  int ShootOnce() {
    const uint64_t t = Now();
    PushKey(VK::F2, t + 5);
    Push(InputEvent::Type::KeyDown, VK::Control, t + 300);
    Push(InputEvent::Type::KeyDown, VK::Right, t + 350);
    Push(InputEvent::Type::KeyUp, VK::Right, t + 450);
    Push(InputEvent::Type::KeyUp, VK::Control, t + 500);
    int plays = -1;
    At(t + 600, [&] { plays = Plays(0); });
    PushKey(VK::Escape, t + 700);
    PushKey('Y', t + 800);
    RunFor(1000);
    return plays;
  }
  RecordingAudioDoor* audio = nullptr;
};

TEST_F(SoundProgramTest, AShotPlaysTheShotSound) {
  StartRecordedProgram();
  ReachTitleMenu();
  EXPECT_TRUE(program->SoundModule().SoundEnabled);
  EXPECT_GE(program->SoundModule().SlotOf(20), 0);
  EXPECT_EQ(Plays(0), 0);
  EXPECT_GE(ShootOnce(), 1);  // held fire keeps shooting once a shot is gone
  EXPECT_EQ(Plays(20), 0);
}

TEST_F(SoundProgramTest, SoundOffAtGameStartSilencesTheShot) {
  StartRecordedProgram();
  ReachTitleMenu();
  program->Options().SoundEdit->text = "Off";
  EXPECT_EQ(ShootOnce(), 0);
}

TEST_F(SoundProgramTest, ADeviceThatCannotOpenReportsAndSwitchesSoundOff) {
  std::filesystem::create_directory_symlink(std::filesystem::path(TROK_GAME_DIR) / "Music",
                                            dir / "Music");
  BrokenSoundDevice noDevice;
  StartRecordedProgram();
  PushChar('a', Now() + 5);
  AnswerBoxes(Now() + 50, 6);
  RunFor(700);

  // The wave loading stops at the device error, before the opening song is prepared;
  // then the music system cannot start either. Exactly two pairs, no third.
  ASSERT_EQ(boxesSeen.size(), 4u) << ::testing::PrintToString(boxesSeen);
  EXPECT_FALSE(boxesSeen[0].empty());
  EXPECT_EQ(boxesSeen[0].rfind("Error loading", 0), std::string::npos) << "the device's own text first";
  EXPECT_EQ(boxesSeen[1],
            "Error loading WAV sounds. Please make sure the 'Sounds' folder exists in the "
            "directory of this program.");
  EXPECT_FALSE(boxesSeen[2].empty());
  EXPECT_EQ(boxesSeen[2].rfind("Error loading", 0), std::string::npos) << "the music error's own text";
  EXPECT_EQ(boxesSeen[3],
            "Error loading MIDI Music Please make sure the 'Music' folder exists in the "
            "directory of this program.");
  EXPECT_FALSE(program->MusicModule().OpeningSongReady);
  EXPECT_TRUE(program->InTitleMenu());
  EXPECT_FALSE(program->SoundModule().SoundEnabled);
  EXPECT_FALSE(program->MusicModule().MusicEnabled);
  EXPECT_EQ(program->Options().SoundEdit->text, "Off");
  EXPECT_FALSE(program->Options().SoundEdit->enabled);
  EXPECT_EQ(program->Options().MusicEdit->text, "Off");
  EXPECT_FALSE(program->Options().MusicEdit->enabled);
  EXPECT_EQ(ShootOnce(), 0);
}

TEST_F(SoundProgramTest, ADeviceThatCannotOpenIsNamedOnceOnStandardError) {
  BrokenSoundDevice noDevice;
  testing::internal::CaptureStderr();
  StartRecordedProgram();
  PushChar('a', Now() + 5);
  AnswerBoxes(Now() + 50, 4);
  RunFor(500);
  const std::string printed = testing::internal::GetCapturedStderr();
  ASSERT_FALSE(boxesSeen.empty());
  // One line, and it carries SDL's own words, the first box's text.
  EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
  EXPECT_NE(printed.find(boxesSeen[0]), std::string::npos) << printed;
}

TEST_F(SoundProgramTest, NoSoundsFolderIsQuietAndGivesNoError) {
  std::filesystem::remove(dir / "Sounds");
  StartRecordedProgram();
  ReachTitleMenu();
  EXPECT_TRUE(program->OpenBoxes().empty());
  EXPECT_TRUE(program->Options().SoundEdit->enabled);
  EXPECT_EQ(ShootOnce(), 0);
}

TEST_F(SoundProgramTest, WithoutTheMixersLibraryStartUpReportsNoSoundDeviceAndGoesOnSilent) {
  LinkMusic();
  StartRecordedProgram({.mixer = "libtrok-no-such-mixer.so.0"});
  PushChar('a', Now() + 5);
  AnswerBoxes(Now() + 50, 6);
  RunFor(700);

  ASSERT_EQ(boxesSeen.size(), 4u) << ::testing::PrintToString(boxesSeen);
  EXPECT_NE(boxesSeen[0].find("libtrok-no-such-mixer.so.0"), std::string::npos) << boxesSeen[0];
  EXPECT_EQ(boxesSeen[1], WavError);
  EXPECT_EQ(boxesSeen[2], boxesSeen[0]);
  EXPECT_EQ(boxesSeen[3], MidiError);
  EXPECT_TRUE(program->InTitleMenu());
  EXPECT_FALSE(program->SoundModule().SoundEnabled);
  EXPECT_FALSE(program->MusicModule().MusicEnabled);
  EXPECT_FALSE(program->MusicModule().OpeningSongReady);
  EXPECT_FALSE(program->Options().SoundEdit->enabled);
  EXPECT_FALSE(program->Options().MusicEdit->enabled);
  EXPECT_EQ(ShootOnce(), 0);
  EXPECT_TRUE(program->InTitleMenu());
}

TEST_F(SoundProgramTest, WithoutTheSynthesisersLibraryOnlyTheMusicSystemFailsAndTheGameGoesOn) {
  LinkMusic();
  StartRecordedProgram({.synth = "libtrok-no-such-synth.so.3"});
  PushChar('a', Now() + 5);
  AnswerBoxes(Now() + 50, 6);
  RunFor(700);

  ASSERT_EQ(boxesSeen.size(), 2u) << ::testing::PrintToString(boxesSeen);
  EXPECT_NE(boxesSeen[0].find("libtrok-no-such-synth.so.3"), std::string::npos) << boxesSeen[0];
  EXPECT_EQ(boxesSeen[1], MidiError);
  EXPECT_TRUE(program->InTitleMenu());
  EXPECT_TRUE(program->MusicModule().OpeningSongReady);
  EXPECT_FALSE(program->MusicModule().MusicEnabled);
  EXPECT_EQ(program->Options().MusicEdit->text, "Off");
  EXPECT_FALSE(program->Options().MusicEdit->enabled);
  EXPECT_TRUE(program->SoundModule().SoundEnabled);
  EXPECT_TRUE(program->Options().SoundEdit->enabled);
  EXPECT_GE(ShootOnce(), 1);  // a game with its effects and without music
  EXPECT_TRUE(program->OpenBoxes().empty());
}

}  // namespace
