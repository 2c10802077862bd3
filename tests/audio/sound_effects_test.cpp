#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "audio/sound_effects.h"
#include "audio/volume_rule.h"
#include "audio/wave_builder.h"
#include "support/recording_audio.h"

namespace fs = std::filesystem;

namespace {

const int AllNumbers[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,
                          20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32};

class SoundEffectsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("trok-sfx-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir / "Sounds");
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Start() const { return dir.string() + "/"; }
  // How often the number's sound was started on the output.
  int Plays(const SoundEffects& sounds, int number) const {
    const int slot = sounds.SlotOf(number);
    return slot == SoundEffects::NoSlot ? 0 : door.StartsOn(slot);
  }
  void Write(int number, const std::vector<uint8_t>& bytes) {
    WriteBytes(dir / "Sounds" / SoundFileName(number), bytes);
  }
  fs::path dir;
  RecordingAudioDoor door;
};

TEST(SoundTable, NumbersAndFileNamesPairUp) {
  int named = 0;
  for (int n = -5; n < 40; ++n) {
    const char* name = SoundFileName(n);
    const bool used = (n >= 0 && n <= 12) || (n >= 20 && n <= 32);
    ASSERT_EQ(name != nullptr, used) << n;
    if (!name) continue;
    ++named;
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "S%02d-P%d-", n, n < 20 ? 1 : 2);
    EXPECT_EQ(std::string(name).rfind(prefix, 0), 0u) << name;
    if (n >= 20) {
      // A player 2 file names the same event as player 1's n - 20.
      const std::string one = SoundFileName(n - 20);
      EXPECT_EQ(std::string(name).substr(7), one.substr(7));
    }
  }
  EXPECT_EQ(named, 26);
  EXPECT_STREQ(SoundFileName(8), "S08-P1-BulletHit-Heart.wav");
  EXPECT_STREQ(SoundFileName(32), "S32-P2-EatPigProducer.wav");
}

TEST_F(SoundEffectsTest, LoadsInNumberOrderIntoTheLowestFreeSlots) {
  for (int n : AllNumbers) Write(n, SimpleWave(20 + static_cast<size_t>(n) * 2));
  SoundEffects sounds(door);
  EXPECT_EQ(sounds.LoadSounds(Start()), "");
  EXPECT_TRUE(sounds.SoundEnabled);
  int expected = 0;
  for (int n : AllNumbers) {
    EXPECT_EQ(sounds.SlotOf(n), expected) << n;
    const SoundSlot& slot = sounds.Slot(expected);
    EXPECT_TRUE(slot.inUse);
    EXPECT_GE(slot.buffer, 0);
    EXPECT_EQ(slot.size, 20 + n * 2);
    EXPECT_EQ(slot.sampleRate, 22050);
    EXPECT_EQ(slot.index, expected);
    ++expected;
  }
  EXPECT_EQ(sounds.SlotOf(13), SoundEffects::NoSlot);
  EXPECT_FALSE(sounds.Slot(26).inUse);
}

TEST_F(SoundEffectsTest, RefusedFilesLeaveNumbersSilentAndTakeNoSlot) {
  Write(0, SimpleWave());
  Write(1, Riff({FmtChunk(3, 1, 22050, 32), DataChunk(40)}));  // float samples
  Write(2, {'n', 'o', 'p', 'e'});
  // 3 is missing altogether.
  Write(4, SimpleWave(30, 8, 2));
  SoundEffects sounds(door);
  EXPECT_EQ(sounds.LoadSounds(Start()), "");
  EXPECT_TRUE(sounds.SoundEnabled);
  EXPECT_EQ(sounds.SlotOf(0), 0);
  EXPECT_EQ(sounds.SlotOf(1), SoundEffects::NoSlot);
  EXPECT_EQ(sounds.SlotOf(2), SoundEffects::NoSlot);
  EXPECT_EQ(sounds.SlotOf(3), SoundEffects::NoSlot);
  EXPECT_EQ(sounds.SlotOf(4), 1);
  sounds.PlaySound(1);
  sounds.PlaySound(3);
  sounds.PlaySound(4);
  EXPECT_EQ(Plays(sounds, 1), 0);
  EXPECT_EQ(Plays(sounds, 3), 0);
  EXPECT_EQ(Plays(sounds, 4), 1);
}

TEST_F(SoundEffectsTest, NoSoundsFolderIsSilentWithoutAnError) {
  fs::remove_all(dir / "Sounds");
  SoundEffects sounds(door);
  EXPECT_EQ(sounds.LoadSounds(Start()), "");
  for (int n : AllNumbers) {
    EXPECT_EQ(sounds.SlotOf(n), SoundEffects::NoSlot);
    sounds.PlaySound(n);
    EXPECT_EQ(Plays(sounds, n), 0);
  }
}

TEST_F(SoundEffectsTest, SlotsRunOutAfterTwoHundredFiftySix) {
  const fs::path file = dir / "one.wav";
  WriteBytes(file, SimpleWave());
  SoundEffects sounds(door);
  std::string error;
  ASSERT_TRUE(sounds.CreateSoundDevice(error)) << error;
  for (int i = 0; i < SoundEffects::SlotCount; ++i) ASSERT_EQ(sounds.LoadWave(file.string()), i);
  EXPECT_EQ(sounds.LoadWave(file.string()), SoundEffects::NoSlot);
  // Creating the device again clears the table.
  ASSERT_TRUE(sounds.CreateSoundDevice(error));
  EXPECT_EQ(sounds.LoadWave(file.string()), 0);
  EXPECT_FALSE(sounds.Slot(1).inUse);
}

TEST_F(SoundEffectsTest, AWaveReadWithoutADeviceKeepsItsSlotInUse) {
  const fs::path file = dir / "one.wav";
  WriteBytes(file, SimpleWave());
  SoundEffects sounds(door);  // no device created: buffers cannot be made
  EXPECT_EQ(sounds.LoadWave(file.string()), SoundEffects::NoSlot);
  EXPECT_TRUE(sounds.Slot(0).inUse);
  EXPECT_LT(sounds.Slot(0).buffer, 0);
  EXPECT_EQ(sounds.Slot(0).size, 200);
  // A refused file takes no slot.
  WriteBytes(file, Riff({DataChunk(10)}));
  EXPECT_EQ(sounds.LoadWave(file.string()), SoundEffects::NoSlot);
  EXPECT_FALSE(sounds.Slot(1).inUse);
}

TEST_F(SoundEffectsTest, PlayOnlyWhenEnabledAndRetriggerRestarts) {
  Write(0, SimpleWave(44100));
  Write(20, SimpleWave(44100));
  SoundEffects sounds(door);
  ASSERT_EQ(sounds.LoadSounds(Start()), "");
  sounds.SoundEnabled = false;
  sounds.PlaySound(0);
  EXPECT_EQ(Plays(sounds, 0), 0);
  sounds.SoundEnabled = true;
  sounds.PlaySound(0);
  sounds.PlaySound(0);
  sounds.PlaySound(20);
  EXPECT_EQ(Plays(sounds, 0), 2);
  EXPECT_EQ(Plays(sounds, 20), 1);
  // Out-of-table numbers are ignored.
  sounds.PlaySound(-1);
  sounds.PlaySound(15);
  sounds.PlaySound(999);
  EXPECT_EQ(Plays(sounds, 15), 0);
  // Every start is at full volume, each number on its own slot's channel.
  ASSERT_EQ(door.starts.size(), 3u);
  for (const auto& start : door.starts) EXPECT_DOUBLE_EQ(start.gain, 1.0);
  EXPECT_EQ(door.starts[0].channel, door.starts[1].channel);
  EXPECT_NE(door.starts[0].channel, door.starts[2].channel);
}

TEST(VolumeRule, ThirtyHundredthsOfADecibelPerLevel) {
  EXPECT_DOUBLE_EQ(VolumeGain(100), 1.0);
  EXPECT_NEAR(VolumeGain(0), 0.031623, 1e-6);   // -30 dB
  EXPECT_NEAR(VolumeGain(50), 0.177828, 1e-6);  // -15 dB
  EXPECT_DOUBLE_EQ(VolumeGain(150), 1.0);
  EXPECT_DOUBLE_EQ(VolumeGain(-4), VolumeGain(0));
}

TEST_F(SoundEffectsTest, SlotVolumeSetsTheGainOfTheNextStart) {
  Write(0, SimpleWave());
  SoundEffects sounds(door);
  ASSERT_EQ(sounds.LoadSounds(Start()), "");
  ASSERT_TRUE(sounds.SetSlotVolume(0, 0));
  ASSERT_TRUE(sounds.PlaySlot(0));
  ASSERT_EQ(door.starts.size(), 1u);
  EXPECT_NEAR(door.starts[0].gain, VolumeGain(0), 1e-12);
  // A played sound number always sets full volume first.
  sounds.PlaySound(0);
  ASSERT_EQ(door.starts.size(), 2u);
  EXPECT_DOUBLE_EQ(door.starts[1].gain, 1.0);
  // A slot without a buffer counts as played and sounds nothing.
  EXPECT_TRUE(sounds.PlaySlot(5));
  EXPECT_FALSE(sounds.PlaySlot(-1));
  EXPECT_FALSE(sounds.SetSlotVolume(SoundEffects::SlotCount, 100));
  EXPECT_EQ(door.starts.size(), 2u);
}

TEST_F(SoundEffectsTest, ADeviceThatCannotOpenFailsOnceAWaveHasBeenRead) {
  door.failOpenWith = "no audio here";
  SoundEffects sounds(door);
  // Nothing read: nothing to report.
  EXPECT_EQ(sounds.LoadSounds(Start()), "");
  Write(3, SimpleWave());
  Write(4, SimpleWave());
  EXPECT_EQ(sounds.LoadSounds(Start()), "no audio here");
  EXPECT_FALSE(sounds.SoundEnabled);
  EXPECT_EQ(sounds.SlotOf(4), SoundEffects::NoSlot);  // the loading stopped at the first wave
}

}  // namespace
