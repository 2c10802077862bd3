#include <gtest/gtest.h>

#include <filesystem>

#include "audio/midi_bytes.h"
#include "audio/midi_file_check.h"
#include "base/files.h"

namespace {

bool Check(const std::vector<uint8_t>& bytes) {
  std::string error;
  const bool ok = CheckMidiFile(bytes, error);
  EXPECT_EQ(ok, error.empty()) << error;
  return ok;
}

TEST(MidiFileCheck, AcceptsTheMusicMakersPieces) {
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(TROK_GAME_DIR) / "Music")) {
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(ReadWholeFile(entry.path().string(), bytes, error)) << error;
    EXPECT_TRUE(Check(bytes)) << entry.path();
  }
}

TEST(MidiFileCheck, AcceptsRunningStatusSystemExclusiveAndForeignChunks) {
  EXPECT_TRUE(Check(MidiFile({0x00, 0x90, 60, 100, 0x10, 62, 100,  // running status
                              0x00, 0xF0, 0x02, 0x7E, 0xF7,         // system exclusive
                              0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // tempo
                              0x81, 0x00, 0x80, 60, 0, 0x00, 0xD0, 0x40})));
  // A chunk of another kind before the track is skipped.
  std::vector<uint8_t> file = ShortTune();
  file.insert(file.begin() + 14, {'X', 'y', 'z', 'w', 0, 0, 0, 2, 1, 2});
  EXPECT_TRUE(Check(file));
}

TEST(MidiFileCheck, RefusesEveryTruncation) {
  const std::vector<uint8_t> whole = ShortTune();
  ASSERT_TRUE(Check(whole));
  // Shorter than its header says, at every length (the end-of-track event may be cut
  // only together with the track's own size).
  for (size_t n = 0; n < whole.size(); ++n) {
    std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_FALSE(Check(cut)) << n;
  }
}

TEST(MidiFileCheck, RefusesBrokenHeadersAndEvents) {
  std::vector<uint8_t> bad = ShortTune();
  bad[0] = 'X';
  EXPECT_FALSE(Check(bad));
  bad = ShortTune();
  bad[9] = 3;  // format 3 does not exist
  EXPECT_FALSE(Check(bad));
  bad = ShortTune();
  bad[11] = 2;  // format 0 with two tracks
  EXPECT_FALSE(Check(bad));
  EXPECT_FALSE(Check(MidiFile({0x00, 60, 100})));                // data without a status
  EXPECT_FALSE(Check(MidiFile({0x00, 0x90, 60, 0x80})));         // data byte with its top bit
  EXPECT_FALSE(Check(MidiFile({0x00, 0xF8})));                   // a real-time message
  EXPECT_FALSE(Check(MidiFile({0x00, 0xFF, 0x01, 0x40, 'a'})));  // meta text running past the end
  EXPECT_FALSE(Check(MidiFile({0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 1})));  // endless delta
  EXPECT_FALSE(Check({}));
}

}  // namespace
