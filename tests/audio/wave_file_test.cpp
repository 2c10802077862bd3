#include <gtest/gtest.h>

#include "audio/wave_builder.h"
#include "audio/wave_file.h"

namespace {

struct PcmCase {
  int channels, bits;
};

class WaveAcceptTest : public ::testing::TestWithParam<PcmCase> {};

TEST_P(WaveAcceptTest, PcmLoadsWithItsFormatAndWholeData) {
  const auto [channels, bits] = GetParam();
  const size_t bytes = static_cast<size_t>(channels * bits / 8) * 50;
  WaveData wave;
  std::string error;
  ASSERT_TRUE(ParseWave(Riff({FmtChunk(1, channels, 11025, bits), DataChunk(bytes)}), wave, error))
      << error;
  EXPECT_EQ(wave.format.channels, channels);
  EXPECT_EQ(wave.format.bitsPerSample, bits);
  EXPECT_EQ(wave.format.samplesPerSec, 11025u);
  EXPECT_EQ(wave.format.blockAlign, channels * bits / 8);
  EXPECT_EQ(wave.format.avgBytesPerSec, 11025u * static_cast<uint32_t>(channels * bits / 8));
  ASSERT_EQ(wave.samples.size(), bytes);
  EXPECT_EQ(wave.samples.front(), 1);
  EXPECT_EQ(wave.samples.back(), static_cast<uint8_t>(bytes));
}

INSTANTIATE_TEST_SUITE_P(Formats, WaveAcceptTest,
                         ::testing::Values(PcmCase{1, 8}, PcmCase{2, 8}, PcmCase{1, 16},
                                           PcmCase{2, 16}));

TEST(WaveFile, OtherChunksAndOddPaddingAreSkippedInAnyOrder) {
  WaveData wave;
  std::string error;
  // An odd-sized chunk before "fmt " is padded; data may come before fmt.
  const auto bytes = Riff({RiffChunk{"LIST", {1, 2, 3}}, DataChunk(40, 7),
                           RiffChunk{"junk", {9}}, FmtChunk(1, 1, 22050, 16, 18)});
  ASSERT_TRUE(ParseWave(bytes, wave, error)) << error;
  ASSERT_EQ(wave.samples.size(), 40u);
  EXPECT_EQ(wave.samples[0], 7);
  EXPECT_EQ(wave.format.extraSize, 0);
}

TEST(WaveFile, EightBitOddDataKeepsItsLastByte) {
  WaveData wave;
  std::string error;
  ASSERT_TRUE(ParseWave(Riff({FmtChunk(1, 1, 8000, 8), DataChunk(33)}), wave, error)) << error;
  EXPECT_EQ(wave.samples.size(), 33u);
}

TEST(WaveFile, RefusesWhatIsNotPlainPcm) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<uint8_t> notRiff = SimpleWave();
  notRiff[0] = 'X';
  const std::vector<Case> cases = {
      {"float", Riff({FmtChunk(3, 1, 22050, 32), DataChunk(40)})},
      {"adpcm", Riff({FmtChunk(2, 1, 22050, 4), DataChunk(40)})},
      {"no fmt", Riff({DataChunk(40)})},
      {"no data", Riff({FmtChunk(1, 1, 22050, 16)})},
      {"short fmt", Riff({RiffChunk{"fmt ", {1, 0, 1, 0, 0x22, 0x56}}, DataChunk(40)})},
      {"not WAVE", Riff({FmtChunk(1, 1, 22050, 16), DataChunk(40)}, "AVI ")},
      {"not RIFF", notRiff},
      {"24 bit", Riff({FmtChunk(1, 1, 22050, 24), DataChunk(42)})},
      {"six channels", Riff({FmtChunk(1, 6, 22050, 16), DataChunk(48)})},
      {"zero rate", Riff({FmtChunk(1, 1, 0, 16), DataChunk(40)})},
      {"empty", {}},
      {"header only", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A'}},
  };
  for (const Case& c : cases) {
    WaveData wave;
    std::string error;
    EXPECT_FALSE(ParseWave(c.bytes, wave, error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
}

TEST(WaveFile, RefusesTruncatedFilesAtEveryLength) {
  const std::vector<uint8_t> whole = SimpleWave(100);
  for (size_t length = 0; length < whole.size(); ++length) {
    // Copied so that the sanitizer sees any read past the shortened end.
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    WaveData wave;
    std::string error;
    EXPECT_FALSE(ParseWave(cut, wave, error)) << length;
  }
}

TEST(WaveFile, RefusesChunkSizesBeyondTheFile) {
  std::vector<uint8_t> bytes = SimpleWave(100);
  // The data chunk's size field sits just before its 100 bytes.
  const size_t sizeAt = bytes.size() - 100 - 4;
  bytes[sizeAt + 3] = 0xFF;
  WaveData wave;
  std::string error;
  EXPECT_FALSE(ParseWave(bytes, wave, error));
  EXPECT_NE(error.find("cut short"), std::string::npos) << error;
}

TEST(WaveFile, MissingFileIsRefused) {
  WaveData wave;
  std::string error;
  EXPECT_FALSE(ReadWaveFile("/nonexistent/dir/none.wav", wave, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
