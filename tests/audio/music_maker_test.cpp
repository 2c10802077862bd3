#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "audio/music.h"
#include "platform/sdl_audio_door.h"
#include "audio/note_list_errors.h"
#include "music_maker/chip_synth.h"
#include "music_maker/midi_writer.h"
#include "music_maker/mp3_encoder.h"
#include "music_maker/rate_halving.h"
#include "music_maker/music_set.h"
#include "music_maker/note_list.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> VarLen(uint32_t v) {
  std::vector<uint8_t> out;
  AppendVarLen(out, v);
  return out;
}

uint32_t Big(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | b[at + static_cast<size_t>(i)];
  return v;
}

TEST(MidiWriter, VariableLengthQuantities) {
  EXPECT_EQ(VarLen(0), (std::vector<uint8_t>{0x00}));
  EXPECT_EQ(VarLen(0x7F), (std::vector<uint8_t>{0x7F}));
  EXPECT_EQ(VarLen(0x80), (std::vector<uint8_t>{0x81, 0x00}));
  EXPECT_EQ(VarLen(0x3FFF), (std::vector<uint8_t>{0xFF, 0x7F}));
  EXPECT_EQ(VarLen(0x200000), (std::vector<uint8_t>{0x81, 0x80, 0x80, 0x00}));
  EXPECT_EQ(VarLen(0x0FFFFFFF), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F}));
}

TEST(MidiWriter, HeaderChunksRunningStatusAndEnd) {
  const Tune tune = ParseNoteList(
      "tempo 120\n"
      "track lead program 81 channel 2\n"
      "  c4/4 d4\n"
      "track drums channel 10\n"
      "  kick/8\n");
  const std::vector<uint8_t> midi = WriteMidi(tune);
  ASSERT_GE(midi.size(), 14u);
  EXPECT_EQ(std::string(midi.begin(), midi.begin() + 4), "MThd");
  EXPECT_EQ(Big(midi, 4, 4), 6u);
  EXPECT_EQ(Big(midi, 8, 2), 1u);                 // format 1
  EXPECT_EQ(Big(midi, 10, 2), 3u);                // tempo track + two
  EXPECT_EQ(Big(midi, 12, 2), uint32_t(TicksPerQuarter));

  // Walk the chunks: each is an MTrk whose length matches and which ends with FF 2F 00.
  std::vector<std::vector<uint8_t>> tracks;
  for (size_t at = 14; at < midi.size();) {
    ASSERT_LE(at + 8, midi.size());
    ASSERT_EQ(std::string(midi.begin() + long(at), midi.begin() + long(at) + 4), "MTrk");
    const uint32_t length = Big(midi, at + 4, 4);
    ASSERT_LE(at + 8 + length, midi.size());
    tracks.emplace_back(midi.begin() + long(at) + 8, midi.begin() + long(at + 8 + length));
    at += 8 + length;
  }
  ASSERT_EQ(tracks.size(), 3u);
  for (const auto& t : tracks) {
    ASSERT_GE(t.size(), 4u);
    EXPECT_EQ(std::vector<uint8_t>(t.end() - 4, t.end()), (std::vector<uint8_t>{0, 0xFF, 0x2F, 0}));
  }
  // 500000 microseconds per quarter at 120 beats a minute.
  EXPECT_EQ(std::vector<uint8_t>(tracks[0].begin(), tracks[0].begin() + 7),
            (std::vector<uint8_t>{0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20}));

  // Lead on channel 2 (index 1): the first note-on carries its status byte, the release
  // and the second note rely on running status; 480 ticks is the two-byte 83 60.
  const std::vector<uint8_t>& lead = tracks[1];
  const std::vector<uint8_t> notes = {0x00, 0x91, 60, 100,  0x83, 0x58, 60, 0,
                                      0x08, 62,   100, 0x83, 0x58, 62, 0};
  EXPECT_NE(std::search(lead.begin(), lead.end(), notes.begin(), notes.end()), lead.end());
  const std::vector<uint8_t> program = {0xC1, 80};
  EXPECT_NE(std::search(lead.begin(), lead.end(), program.begin(), program.end()), lead.end());
  // No program change on the drum channel.
  EXPECT_EQ(std::find(tracks[2].begin(), tracks[2].end(), 0xC9), tracks[2].end());
  EXPECT_NE(std::find(tracks[2].begin(), tracks[2].end(), 0x99), tracks[2].end());
}

TEST(NoteList, NotesDurationsChordsAndRepeats) {
  const Tune tune = ParseNoteList(
      "# a comment\n"
      "tempo 150\n"
      "track lead program 1 voice saw\n"
      "  c4/8 c#4 | bb3/4. r/8\n"
      "  [ e4+g4/2 [ a4/16 ]x2\n"
      "  ]x3\n");
  ASSERT_EQ(tune.tracks.size(), 1u);
  const TuneTrack& t = tune.tracks[0];
  EXPECT_EQ(t.voice, Voice::Saw);
  EXPECT_EQ(t.program, 0);
  ASSERT_GE(t.notes.size(), 3u);
  EXPECT_EQ(t.notes[0].key, 60);
  EXPECT_EQ(t.notes[1].key, 61);
  EXPECT_EQ(t.notes[1].start, 240);
  EXPECT_EQ(t.notes[2].key, 58);
  EXPECT_EQ(t.notes[2].length, 720);
  // Each pass of the repeat: a two-note chord (half) and two sixteenths = 1200 ticks.
  const int repeatStart = 240 + 240 + 720 + 240;
  ASSERT_EQ(t.notes.size(), 3u + 3u * 4u);
  for (int pass = 0; pass < 3; ++pass) {
    const NoteEvent* n = &t.notes[3 + size_t(pass) * 4];
    EXPECT_EQ(n[0].start, repeatStart + pass * 1200);
    EXPECT_EQ(n[1].start, n[0].start);
    EXPECT_EQ(n[0].key, 64);
    EXPECT_EQ(n[1].key, 67);
    EXPECT_EQ(n[2].start, n[0].start + 960);
    EXPECT_EQ(n[3].start, n[0].start + 1080);
  }
  EXPECT_EQ(tune.LengthTicks(), repeatStart + 3 * 1200);
  EXPECT_EQ(t.length, tune.LengthTicks());
  EXPECT_EQ(ParseNoteList("tempo 60\ntrack a program 1\n c4/4 r/2\n").LengthTicks(), 3 * 480);
  EXPECT_DOUBLE_EQ(tune.Seconds(), tune.LengthTicks() / 480.0 * 60.0 / 150.0);
}

TEST(NoteList, DrumNamesOnChannelTen) {
  const Tune tune = ParseNoteList("tempo 100\ntrack d channel 10\n kick/4 snare+hat n49\n");
  const TuneTrack& t = tune.tracks[0];
  EXPECT_EQ(t.voice, Voice::Drums);
  EXPECT_EQ(t.channel, 9);
  ASSERT_EQ(t.notes.size(), 4u);
  EXPECT_EQ(t.notes[0].key, 36);
  EXPECT_EQ(t.notes[1].key, 38);
  EXPECT_EQ(t.notes[2].key, 42);
  EXPECT_EQ(t.notes[3].key, 49);
}

TEST(NoteList, ErrorsNameTheLine) {
  EXPECT_EQ(NoteListErrorOf("tempo 120\ntrack a program 1\n c4 x9\n"), "line 3: unknown note 'x9'");
  EXPECT_EQ(NoteListErrorOf("tempo 120\n\ntrack a program 1\n c4/3\n"),
            "line 4: the duration must be 1, 2, 4, 8, 16 or 32");
  EXPECT_EQ(NoteListErrorOf("tempo 120\ntrack a program 1\n [ c4\n d4\n"), "line 3: '[' without a closing ']'");
  EXPECT_EQ(NoteListErrorOf("tempo 120\ntrack a program 1\n c4 ]x2\n"), "line 3: ']' without '['");
  EXPECT_EQ(NoteListErrorOf("tempo 120\ntrack a program 1\n [ c4 ]x0\n"), "line 3: the repeat count must be 1 to 64");
  EXPECT_EQ(NoteListErrorOf("tempo 999\n"), "line 1: the tempo must be 30 to 300");
  EXPECT_EQ(NoteListErrorOf("tempo 120\n c4\n"), "line 2: notes before the first track");
  EXPECT_EQ(NoteListErrorOf("tempo 120\ntrack a\n"), "line 2: a melodic track needs a program");
  EXPECT_EQ(NoteListErrorOf("tempo 120\ntrack a program 129\n"), "line 2: the program must be 1 to 128");
  EXPECT_EQ(NoteListErrorOf("tempo 120\ntrack a program 1 voice kazoo\n"), "line 2: unknown voice 'kazoo'");
  EXPECT_EQ(NoteListErrorOf("tempo 120\ntrack d channel 10\n kick bell\n"), "line 3: unknown note 'bell'");
  EXPECT_EQ(NoteListErrorOf("track a program 1\n c4\n"), "line 1: no tempo given");
}

// The shipped pieces: long enough to be worth hearing through a level, short enough to
// vary, every track the same whole number of bars so the parts stay together.
TEST(ShippedMusic, PiecesAndOpeningSongHaveSoundLengths) {
  const fs::path source = fs::path(TROK_SOURCE_DIR) / "assets" / "music";
  int pieces = 0;
  for (const auto& entry : fs::directory_iterator(source)) {
    if (entry.path().extension() != ".tune") continue;
    Tune tune;
    std::string error;
    ASSERT_TRUE(ReadTune(entry.path().string(), tune, error)) << error;
    const bool opening = entry.path().filename() == "opening.tune";
    if (opening) {
      EXPECT_GE(tune.Seconds(), 20.0) << entry.path();
      EXPECT_LE(tune.Seconds(), 40.0) << entry.path();
    } else {
      ++pieces;
      EXPECT_GE(tune.Seconds(), 90.0) << entry.path();
      EXPECT_LE(tune.Seconds(), 180.0) << entry.path();
    }
    bool drums = false;
    for (const TuneTrack& t : tune.tracks) {
      drums |= t.channel == 9;
      if (!opening) {
        EXPECT_EQ(t.length % tune.BarTicks(), 0) << entry.path() << " " << t.name;
        EXPECT_EQ(t.length, tune.LengthTicks()) << entry.path() << " " << t.name;
      }
    }
    EXPECT_TRUE(drums) << entry.path();
  }
  EXPECT_GE(pieces, 8);
}

TEST(ChipSynth, RendersTheWholeTuneWithinRange) {
  const Tune tune = ParseNoteList("tempo 120\ntrack a program 1\n a4/4 r c5+e5\ntrack d channel 10\n kick/4\n");
  const std::vector<int16_t> pcm = RenderTune(tune, 8000);
  EXPECT_EQ(pcm.size(), size_t((1.5 + 0.5) * 8000));
  int peak = 0;
  for (int16_t s : pcm) peak = std::max(peak, std::abs(int(s)));
  EXPECT_GT(peak, 3000);
  EXPECT_LE(peak, 32767 * 0.85 + 1);
  // The rest between the notes is silent once the first note has died away.
  for (size_t i = 6000; i < 8000; ++i) ASSERT_EQ(pcm[i], 0) << i;
}

class Mp3Test : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("trok-mp3-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "Sounds");
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(Mp3Test, EncodedSongOpensAndPlaysOnce) {
  const Tune tune = ParseNoteList("tempo 240\ntrack a program 1\n c5/8 e5 g5 c6\n");
  std::vector<uint8_t> mp3;
  std::string error;
  ASSERT_TRUE(EncodeMp3(RenderTune(tune, OpeningSongRate), OpeningSongRate, mp3, error)) << error;
  ASSERT_GT(mp3.size(), 1000u);
  EXPECT_EQ(mp3[0], 0xFF);  // an MPEG frame sync with no tag in front
  EXPECT_EQ(mp3[1] & 0xE0, 0xE0);
  std::ofstream(dir / "Sounds" / "S99-OpeningSong.mp3", std::ios::binary)
      .write(reinterpret_cast<const char*>(mp3.data()), std::streamsize(mp3.size()));

  SdlAudioDoor door;
  Music music(door);
  EXPECT_EQ(music.PrepareOpeningSong(dir.string() + "/"), "");
  ASSERT_TRUE(music.OpeningSongReady);
  music.PlayOpeningSong();
  EXPECT_TRUE(music.OpeningSongPlaying());
  music.StopOpeningSong();
  EXPECT_FALSE(music.OpeningSongPlaying());
  music.ShutDownMusic();
}

TEST_F(Mp3Test, UnreadableSongIsReportedAndMissingOneIsNot) {
  SdlAudioDoor door;
  Music music(door);
  EXPECT_EQ(music.PrepareOpeningSong(dir.string() + "/"), "");
  EXPECT_FALSE(music.OpeningSongReady);
  std::ofstream(dir / "Sounds" / "S99-OpeningSong.mp3") << "not a song at all";
  EXPECT_NE(music.PrepareOpeningSong(dir.string() + "/"), "");
  EXPECT_FALSE(music.OpeningSongReady);
  music.PlayOpeningSong();  // not ready: nothing happens
  EXPECT_FALSE(music.OpeningSongPlaying());
}

}  // namespace

// The opening song is rendered at twice the mixing rate and halved: what fits under the
// new Nyquist frequency passes unchanged, what would fold back into it is filtered out.
TEST(RateHalving, KeepsTheBandAndRemovesWhatWouldFoldBack) {
  constexpr double kRate = 44100;
  auto tone = [&](double hz) {
    std::vector<int16_t> s(44100);
    for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(16000 * std::sin(2 * M_PI * hz * i / kRate));
    return s;
  };
  auto rms = [](const std::vector<int16_t>& s) {
    double sum = 0;
    size_t n = 0;
    for (size_t i = 200; i + 200 < s.size(); ++i, ++n) sum += double(s[i]) * s[i];  // past the edges
    return std::sqrt(sum / double(n));
  };
  const double in = rms(tone(1000));
  const std::vector<int16_t> low = HalveRate(tone(1000));
  ASSERT_EQ(low.size(), 22050u);
  EXPECT_NEAR(rms(low), in, in * 0.01) << "a 1 kHz tone keeps its level";
  EXPECT_NEAR(rms(HalveRate(tone(8000))), in, in * 0.02) << "so does 8 kHz";
  // 15 kHz would come back as a 7.05 kHz ghost after dropping every second sample.
  EXPECT_LT(20 * std::log10(rms(HalveRate(tone(15000))) / in), -60.0);
}
