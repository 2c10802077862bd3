#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "audio/midi_bytes.h"
#include "base/files.h"
#include "platform/sdl_audio_door.h"
#include "platform/sound_libraries.h"
#include "support/broken_sound_device.h"

namespace {

std::vector<uint8_t> GameFile(const std::string& name) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(ReadWholeFile((std::filesystem::path(TROK_GAME_DIR) / name).string(), bytes, error))
      << error;
  return bytes;
}

// Waits up to `ms` of real time for `done`; the mixer runs on its own thread.
template <typename Done>
bool Within(int ms, Done done) {
  for (int waited = 0; waited < ms; waited += 10) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return done();
}

TEST(SdlAudioDoor, ADeviceThatCannotOpenIsTriedOnceAndNamedOnceOnStandardError) {
  std::string first, second;
  testing::internal::CaptureStderr();
  {
    BrokenSoundDevice noDevice;
    SdlAudioDoor door;
    EXPECT_FALSE(door.Open(first));
    EXPECT_FALSE(door.IsOpen());
    EXPECT_FALSE(door.Open(second));
  }
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(first.empty());
  EXPECT_EQ(second, first);
  EXPECT_NE(printed.find(first), std::string::npos) << printed;
  EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
}

TEST(SoundLibraries, AMissingFileOrFunctionIsNamedAndTheFirstAnswerKept) {
  std::string error, again;
  EXPECT_EQ(OpenMixerLibrary("libtrok-no-such-mixer.so.0", error), nullptr);
  EXPECT_NE(error.find("libtrok-no-such-mixer.so.0"), std::string::npos) << error;
  EXPECT_EQ(OpenMixerLibrary("libtrok-no-such-mixer.so.0", again), nullptr);
  EXPECT_EQ(again, error);
  // A library that is there but is not the synthesiser.
  EXPECT_EQ(OpenSynthLibrary("libc.so.6", error), nullptr);
  EXPECT_NE(error.find("libc.so.6 has no function fluid_set_log_function"), std::string::npos)
      << error;
  std::string none;
  const SynthLibrary* synth = OpenSynthLibrary(SoundLibraryNames{}.synth, none);
  ASSERT_NE(synth, nullptr) << none;
  EXPECT_EQ(OpenSynthLibrary(SoundLibraryNames{}.synth, none), synth);
  EXPECT_TRUE(none.empty()) << none;
}

TEST(SdlAudioDoor, WithoutTheMixersLibraryItIsADeviceThatCannotOpen) {
  std::string error, refused;
  testing::internal::CaptureStderr();
  {
    SdlAudioDoor door(SoundLibraryNames{.mixer = "libtrok-no-such-mixer.so.0"});
    EXPECT_FALSE(door.Open(error));
    EXPECT_LT(door.Sounds().MakeSound(PcmFormat{1, 22050, 8}, std::vector<uint8_t>(100, 0x80), refused), 0);
    EXPECT_FALSE(door.Sounds().Start(0, 0, 1.0));
    EXPECT_FALSE(door.Sounds().Playing(0));
    EXPECT_LT(door.Music().Load(ShortTune(), refused), 0);
    door.Music().PrepareMidi();
    EXPECT_FALSE(door.MidiReady());
  }
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_NE(error.find("libtrok-no-such-mixer.so.0"), std::string::npos) << error;
  EXPECT_NE(printed.find(error), std::string::npos) << printed;
  EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
}

// Loading ahead opens nothing and reports nothing; Open still gives its own answer, once.
TEST(SdlAudioDoor, LoadingAheadOpensAndReportsNothing) {
  std::string error;
  testing::internal::CaptureStderr();
  {
    SdlAudioDoor missing(SoundLibraryNames{.mixer = "libtrok-no-such-mixer.so.0"});
    missing.LoadAhead();
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_TRUE(testing::internal::GetCapturedStderr().empty());
    testing::internal::CaptureStderr();
    EXPECT_FALSE(missing.Open(error));
  }
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_NE(error.find("libtrok-no-such-mixer.so.0"), std::string::npos) << error;
  EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;

  SdlAudioDoor door;
  door.LoadAhead();
  EXPECT_FALSE(door.IsOpen()) << "no device is opened ahead";
  EXPECT_TRUE(door.Open(error)) << error;
}

TEST(SdlAudioDoor, WithoutTheSynthesisersLibraryEffectsAndTheSongStillPlay) {
  SdlAudioDoor door(SoundLibraryNames{.synth = "libtrok-no-such-synth.so.3"});
  std::string error;
  ASSERT_TRUE(door.Open(error)) << error;
  std::string missing;
  EXPECT_FALSE(door.Music().MidiAvailable(missing));
  EXPECT_NE(missing.find("libtrok-no-such-synth.so.3"), std::string::npos) << missing;

  const int sound = door.Sounds().MakeSound(PcmFormat{1, 22050, 8}, std::vector<uint8_t>(22050, 0x40), error);
  ASSERT_GE(sound, 0) << error;
  EXPECT_TRUE(door.Sounds().Start(sound, 7, 1.0));
  EXPECT_TRUE(door.Sounds().Playing(7));

  MusicOutput& music = door.Music();
  const int piece = music.Load(ShortTune(), error);
  ASSERT_GE(piece, 0) << error;  // a MIDI piece is only its bytes until it plays
  music.PrepareMidi();
  EXPECT_FALSE(door.MidiReady());
  std::string refused;
  EXPECT_FALSE(music.Play(piece, refused));
  EXPECT_EQ(refused, missing);
  EXPECT_FALSE(music.Playing(piece));
  const int song = music.Load(GameFile("Sounds/S99-OpeningSong.mp3"), error);
  ASSERT_GE(song, 0) << error;
  ASSERT_TRUE(music.Play(song, error)) << error;
  EXPECT_TRUE(music.Playing(song));
}

class OpenDoorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(door.Open(error)) << error;
  }
  SdlAudioDoor door;
};

TEST_F(OpenDoorTest, EffectsStartOnTheirOwnChannels) {
  SoundOutput& out = door.Sounds();
  std::string error;
  const std::vector<uint8_t> pcm(22050, 0x40);  // half a second of 8-bit mono
  const int sound = out.MakeSound(PcmFormat{1, 22050, 8}, pcm, error);
  ASSERT_GE(sound, 0) << error;
  EXPECT_TRUE(out.Start(sound, 3, 1.0));
  EXPECT_TRUE(out.Start(sound, 3, 0.5));  // again on the same channel: restarts
  EXPECT_TRUE(out.Start(sound, 200, 1.0));
  EXPECT_TRUE(out.Playing(3));
  EXPECT_TRUE(out.Playing(200));
  EXPECT_FALSE(out.Playing(4));
  EXPECT_FALSE(out.Start(sound, SoundOutput::ChannelCount, 1.0));
  EXPECT_FALSE(out.Start(sound + 1, 5, 1.0));
}

TEST_F(OpenDoorTest, ASoundKeepsOnlyItsSamplesInTheMixersFormat) {
  auto& out = static_cast<SdlSoundOutput&>(door.Sounds());
  std::string error;
  const std::vector<uint8_t> pcm(44100, 0);  // a second of 16-bit mono at the mixer's rate
  ASSERT_GE(out.MakeSound(PcmFormat{1, 22050, 16}, pcm, error), 0) << error;
  // Stereo: twice the bytes, and not the room the conversion needed.
  EXPECT_LE(out.BytesHeld(), 2 * pcm.size() + 64);
}

TEST_F(OpenDoorTest, MidiPiecesShareOneSynthesiserThatReadsItsSoundFontOnlyWhenWanted) {
  MusicOutput& music = door.Music();
  std::string error;
  const int first = music.Load(GameFile("Music/MIDIFILE00.MID"), error);
  const int second = music.Load(GameFile("Music/MIDIFILE01.MID"), error);
  ASSERT_GE(first, 0) << error;
  ASSERT_GE(second, 0) << error;
  EXPECT_FALSE(door.MidiReady());  // loading a piece keeps only its bytes
  music.PrepareMidi();
  EXPECT_TRUE(door.MidiReady());

  ASSERT_TRUE(music.Play(first, error)) << error;
  EXPECT_TRUE(music.Playing(first));
  ASSERT_TRUE(music.Play(second, error)) << error;
  EXPECT_FALSE(music.Playing(first));
  EXPECT_TRUE(music.Playing(second));
  music.Stop(first);  // not the one sounding: no effect
  EXPECT_TRUE(music.Playing(second));
  music.Stop(second);
  EXPECT_FALSE(music.Playing(second));
  music.Free(first);
  EXPECT_FALSE(music.Play(first, error));
  EXPECT_TRUE(music.Play(second, error)) << error;
}

TEST_F(OpenDoorTest, APieceEndsByItself) {
  MusicOutput& music = door.Music();
  std::string error;
  const int piece = music.Load(ShortTune(), error);
  ASSERT_GE(piece, 0) << error;
  ASSERT_TRUE(music.Play(piece, error)) << error;  // readies the synthesiser itself
  EXPECT_TRUE(door.MidiReady());
  EXPECT_TRUE(music.Playing(piece));
  // The synthesiser lets the last note ring for about two seconds before it ends.
  EXPECT_TRUE(Within(10000, [&] { return !music.Playing(piece); }));
  // Played once only, and again from the start when asked.
  ASSERT_TRUE(music.Play(piece, error)) << error;
  EXPECT_TRUE(music.Playing(piece));
}

TEST_F(OpenDoorTest, TheSongAndTheMidiMusicTakeTurns) {
  MusicOutput& music = door.Music();
  std::string error;
  const int song = music.Load(GameFile("Sounds/S99-OpeningSong.mp3"), error);
  const int piece = music.Load(GameFile("Music/MIDIFILE02.MID"), error);
  ASSERT_GE(song, 0) << error;
  ASSERT_GE(piece, 0) << error;
  EXPECT_LT(music.Load(std::vector<uint8_t>(100, 'x'), error), 0);
  EXPECT_FALSE(error.empty());

  ASSERT_TRUE(music.Play(song, error)) << error;
  EXPECT_TRUE(music.Playing(song));
  EXPECT_FALSE(door.MidiReady());  // the song needs no synthesiser
  ASSERT_TRUE(music.Play(piece, error)) << error;
  EXPECT_FALSE(music.Playing(song));
  EXPECT_TRUE(music.Playing(piece));
  ASSERT_TRUE(music.Play(song, error)) << error;
  EXPECT_FALSE(music.Playing(piece));
  EXPECT_TRUE(music.Playing(song));
  music.Stop(song);
  EXPECT_FALSE(music.Playing(song));
}

}  // namespace
