#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "audio/sound_effects.h"
#include "audio/wave_file.h"
#include "sound_maker/sound_recipe.h"
#include "sound_maker/sound_set.h"
#include "sound_maker/synth.h"
#include "sound_maker/wave_writer.h"

namespace fs = std::filesystem;

namespace {

std::vector<int16_t> Samples(const WaveData& wave) {
  std::vector<int16_t> out(wave.samples.size() / 2);
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<int16_t>(wave.samples[2 * i] | (wave.samples[2 * i + 1] << 8));
  return out;
}

double Rms(const std::vector<int16_t>& s) {
  double sum = 0;
  for (int16_t x : s) sum += static_cast<double>(x) * x;
  return std::sqrt(sum / static_cast<double>(std::max<size_t>(1, s.size())));
}

// Zero crossings per second: a rough pitch for comparing two renderings.
double Crossings(const std::vector<int16_t>& s) {
  int count = 0;
  for (size_t i = 1; i < s.size(); ++i) count += (s[i - 1] < 0) != (s[i] < 0);
  return count * static_cast<double>(SynthRate) / static_cast<double>(s.size());
}

TEST(SoundMaker, MakesEveryGameSoundAsShortCleanPcm) {
  const fs::path out = fs::temp_directory_path() / ("trok-sounds-" + std::to_string(::getpid()));
  fs::remove_all(out);
  std::string error;
  std::vector<std::string> written;
  ASSERT_TRUE(MakeSounds(TROK_SOURCE_DIR "/assets", out.string(), error, &written)) << error;
  EXPECT_EQ(written.size(), 26u);
  for (int n = 0; n < SoundNumberCount; ++n) {
    const char* name = SoundFileName(n);
    if (!name) continue;
    WaveData wave;
    ASSERT_TRUE(ReadWaveFile((out / name).string(), wave, error)) << name << ": " << error;
    EXPECT_EQ(wave.format.channels, 1);
    EXPECT_EQ(wave.format.bitsPerSample, 16);
    EXPECT_EQ(wave.format.samplesPerSec, 22050u);
    const std::vector<int16_t> s = Samples(wave);
    const double seconds = static_cast<double>(s.size()) / 22050;
    EXPECT_GT(seconds, 0.05) << name;
    EXPECT_LT(seconds, 1.5) << name;  // effects, not music
    int peak = 0;
    for (int16_t x : s) peak = std::max(peak, std::abs(static_cast<int>(x)));
    EXPECT_LE(peak, static_cast<int>(SynthPeak * 32767) + 1) << name;
    EXPECT_GT(peak, 6000) << name << " is nearly silent";
    // Ends quietly, so a sound cut short does not click.
    EXPECT_LT(std::abs(static_cast<int>(s.back())), 300) << name;
  }
  fs::remove_all(out);
}

TEST(SoundMaker, PlayerTwoSoundsAreLowerVersionsOfPlayerOnes) {
  std::string error;
  const auto recipes = ParseRecipes(
      "sound A\n  voice square from=880 to=880 length=0.2 volume=0.5\n"
      "variant B of A semitones=-12\n",
      error);
  ASSERT_TRUE(recipes) << error;
  ASSERT_EQ(recipes->size(), 2u);
  const auto a = RenderSound((*recipes)[0]);
  const auto b = RenderSound((*recipes)[1]);
  EXPECT_EQ(a.size(), b.size());
  EXPECT_NEAR(Crossings(a) / Crossings(b), 2.0, 0.1);
  EXPECT_NEAR(Rms(a), Rms(b), Rms(a) * 0.1);
}

TEST(SoundMaker, LoudLayersAreScaledDownNotClipped) {
  std::string error;
  const auto recipes = ParseRecipes(
      "sound Loud\n"
      "  voice square from=200 to=200 length=0.1 volume=1\n"
      "  voice square from=200 to=200 length=0.1 volume=1\n"
      "  voice noise from=5000 to=5000 length=0.1 volume=1\n",
      error);
  ASSERT_TRUE(recipes) << error;
  const auto s = RenderSound((*recipes)[0]);
  int peak = 0, atLimit = 0;
  for (int16_t x : s) {
    peak = std::max(peak, std::abs(static_cast<int>(x)));
    atLimit += std::abs(static_cast<int>(x)) >= 32767;
  }
  EXPECT_NEAR(peak, SynthPeak * 32767, 2);
  EXPECT_EQ(atLimit, 0);
}

TEST(SoundMaker, ArpeggioStepsChangeThePitch) {
  std::string error;
  const auto recipes = ParseRecipes(
      "sound Up\n  voice sine from=440 to=440 length=0.4 volume=0.5 steps=0,12 step=0.2 attack=0 release=0\n",
      error);
  ASSERT_TRUE(recipes) << error;
  const auto s = RenderSound((*recipes)[0]);
  const size_t half = static_cast<size_t>(0.2 * SynthRate);
  const std::vector<int16_t> low(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(half));
  const std::vector<int16_t> high(s.begin() + static_cast<std::ptrdiff_t>(half),
                                  s.begin() + static_cast<std::ptrdiff_t>(2 * half));
  EXPECT_NEAR(Crossings(low), 880, 30);
  EXPECT_NEAR(Crossings(high), 1760, 40);
}

TEST(SoundMaker, RecipeMistakesNameTheirLine) {
  struct Case {
    const char* text;
    const char* expect;
  };
  const Case cases[] = {
      {"voice sine\n", "line 1"},
      {"sound A\n  voice organ from=1\n", "line 2"},
      {"sound A\n  voice sine from=abc\n", "bad number"},
      {"sound A\n  voice sine colour=3\n", "unknown key"},
      {"sound A\n  voice sine volume=2\n", "out of range"},
      {"sound A\n  voice sine steps=0,x\n", "arpeggio"},
      {"sound A\n  voice sine\nsound A\n", "twice"},
      {"sound A\n", "no voices"},
      {"sound A\n  voice sine\nvariant B of C semitones=1\n", "unknown sound"},
      {"sound A\n  voice sine\nvariant B of A\n", "line 3"},
      {"sound A\n  voice sine\nvariant B of A semitones=1\n  voice sine\n", "outside"},
      {"bleep\n", "unknown line"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseRecipes(c.text, error)) << c.text;
    EXPECT_NE(error.find(c.expect), std::string::npos) << c.text << " -> " << error;
  }
}

TEST(SoundMaker, WrittenFilesRoundTripThroughTheReader) {
  const std::vector<int16_t> samples = {0, 1, -1, 32767, -32768, 1234};
  WaveData wave;
  std::string error;
  ASSERT_TRUE(ParseWave(EncodeWave(samples, 22050), wave, error)) << error;
  EXPECT_EQ(Samples(wave), samples);
}

}  // namespace
