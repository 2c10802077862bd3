#include <cstdlib>
#include <filesystem>

#include "base/keys.h"
#include "screens/options.h"
#include "platform/sdl_audio_door.h"
#include "shell/game_directory_fixture.h"
#include "support/recording_audio.h"

namespace {

class SoundProgramTest : public GameDirectoryTest {
 protected:
  void SetUp() override {
    MakeGameDirectory(1);
    std::filesystem::create_directory_symlink(std::filesystem::path(TROK_GAME_DIR) / "Sounds",
                                              dir / "Sounds");
  }
  // The real program over SDL's door, with a record of the effects it started.
  void StartRecordedProgram() {
    auto door = std::make_unique<RecordingAudioDoor>(std::make_unique<SdlAudioDoor>());
    audio = door.get();
    StartProgram(std::move(door));
  }
  int Plays(int number) const {
    const int slot = main->sounds.SlotOf(number);
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
  EXPECT_TRUE(main->sounds.SoundEnabled);
  EXPECT_GE(main->sounds.SlotOf(20), 0);
  EXPECT_EQ(Plays(0), 0);
  EXPECT_GE(ShootOnce(), 1);  // held fire keeps shooting once a shot is gone
  EXPECT_EQ(Plays(20), 0);
}

TEST_F(SoundProgramTest, SoundOffAtGameStartSilencesTheShot) {
  StartRecordedProgram();
  ReachTitleMenu();
  program->optionsForm->SoundEdit->text = "Off";
  EXPECT_EQ(ShootOnce(), 0);
}

TEST_F(SoundProgramTest, ADeviceThatCannotOpenReportsAndSwitchesSoundOff) {
  const char* previous = std::getenv("SDL_AUDIODRIVER");
  const std::string saved = previous ? previous : "";
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  StartRecordedProgram();
  std::vector<std::string> first, second;
  PushChar('a', Now() + 5);
  At(Now() + 50, [&] { first = program->app.OpenBoxTexts(); });
  Push(InputEvent::Type::KeyDown, VK::Enter, Now() + 80);
  At(Now() + 150, [&] { second = program->app.OpenBoxTexts(); });
  Push(InputEvent::Type::KeyDown, VK::Enter, Now() + 180);
  // Without a device the opening song cannot be opened either.
  std::vector<std::string> third, fourth;
  At(Now() + 250, [&] { third = program->app.OpenBoxTexts(); });
  Push(InputEvent::Type::KeyDown, VK::Enter, Now() + 280);
  At(Now() + 350, [&] { fourth = program->app.OpenBoxTexts(); });
  Push(InputEvent::Type::KeyDown, VK::Enter, Now() + 380);
  RunFor(500);
  if (previous) setenv("SDL_AUDIODRIVER", saved.c_str(), 1); else unsetenv("SDL_AUDIODRIVER");

  ASSERT_EQ(first.size(), 1u);
  EXPECT_FALSE(first[0].empty());
  EXPECT_EQ(first[0].find("Error loading WAV"), std::string::npos) << "the device's own text first";
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0],
            "Error loading WAV sounds. Please make sure the 'Sounds' folder exists in the "
            "directory of this program.");
  ASSERT_EQ(third.size(), 1u);
  EXPECT_EQ(third[0].find("Error loading MP3"), std::string::npos);
  ASSERT_EQ(fourth.size(), 1u);
  EXPECT_EQ(fourth[0].rfind("Error loading MP3 sounds. Please make sure the 'Sounds' folder", 0), 0u);
  EXPECT_FALSE(main->music.OpeningSongReady);
  EXPECT_TRUE(main->InTitleMenu());
  EXPECT_FALSE(main->sounds.SoundEnabled);
  EXPECT_EQ(program->optionsForm->SoundEdit->text, "Off");
  EXPECT_FALSE(program->optionsForm->SoundEdit->enabled);
  EXPECT_EQ(ShootOnce(), 0);
}

TEST_F(SoundProgramTest, NoSoundsFolderIsQuietAndGivesNoError) {
  std::filesystem::remove(dir / "Sounds");
  StartRecordedProgram();
  ReachTitleMenu();
  EXPECT_TRUE(program->app.OpenBoxTexts().empty());
  EXPECT_TRUE(program->optionsForm->SoundEdit->enabled);
  EXPECT_EQ(ShootOnce(), 0);
}

}  // namespace
