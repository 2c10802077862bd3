// The note-list language beyond plain notes: patterns, dynamics, longer and triplet
// durations, meters, track settings and shared channels, and how they reach the MIDI file.
#include <gtest/gtest.h>

#include <algorithm>

#include "audio/note_list_errors.h"
#include "music_maker/midi_writer.h"
#include "music_maker/note_list.h"

namespace {

// One field of every note of a track, in order.
std::vector<int> Each(const TuneTrack& t, int NoteEvent::*field) {
  std::vector<int> values;
  for (const NoteEvent& n : t.notes) values.push_back(n.*field);
  return values;
}

std::vector<int> Keys(const TuneTrack& t) { return Each(t, &NoteEvent::key); }

bool Contains(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& run) {
  return std::search(bytes.begin(), bytes.end(), run.begin(), run.end()) != bytes.end();
}

TEST(NoteListPatterns, PastedAsWrittenOrMovedBySemitones) {
  const Tune tune = ParseNoteList(
      "tempo 120\n"
      "track a program 1\n"
      "  $up c5/4 $up^7 $up^-12\n"
      "pattern up\n"  // written below its first use
      "  c4/8 e4\n");
  const TuneTrack& t = tune.tracks[0];
  EXPECT_EQ(Keys(t), (std::vector<int>{60, 64, 72, 67, 71, 48, 52}));
  // c5/4 is a quarter; each paste brings its own eighths, as written.
  EXPECT_EQ(t.notes[2].start, 480);
  EXPECT_EQ(t.notes[3].start, 960);
  EXPECT_EQ(t.notes[3].length, 240);
  EXPECT_EQ(t.length, 480 + 480 + 480 + 480);
}

TEST(NoteListPatterns, NestAndRepeatInsideTracks) {
  const Tune tune = ParseNoteList(
      "tempo 120\n"
      "pattern bar\n  [ $note ]x2 r/4\n"
      "pattern note\n  c4/8\n"
      "track a program 1\n  [ $bar ]x3\n");
  EXPECT_EQ(tune.tracks[0].notes.size(), 6u);
  EXPECT_EQ(tune.tracks[0].notes.back().start, 2 * 960 + 240);
  EXPECT_EQ(tune.LengthTicks(), 3 * 960);
}

TEST(NoteListPatterns, MistakesNameTheLine) {
  EXPECT_EQ(NoteListErrorOf("tempo 120\ntrack a program 1\n $nothing\n"), "line 3: no pattern 'nothing'");
  EXPECT_EQ(NoteListErrorOf("tempo 120\npattern a\n $b\npattern b\n $a\ntrack t program 1\n $a\n"),
            "line 5: pattern 'a' pastes itself");
  EXPECT_EQ(NoteListErrorOf("tempo 120\npattern p\n kick/4\ntrack d channel 10\n $p^2\n"),
            "line 5: drums cannot be moved by semitones");
  EXPECT_EQ(NoteListErrorOf("tempo 120\npattern p\n g9/4\ntrack a program 1\n $p^12\n"),
            "line 3: note 'g9' moved out of range");
  EXPECT_EQ(NoteListErrorOf("tempo 120\npattern p\n c4\npattern p\n d4\n"), "line 4: pattern 'p' is written twice");
  EXPECT_EQ(NoteListErrorOf("tempo 120\npattern p q\n"), "line 2: a pattern needs one name");
}

TEST(NoteListDynamics, MarksStayInForceAndAccentsLiftOneNote) {
  const Tune tune = ParseNoteList(
      "tempo 120\ntrack a program 1\n"
      "  c4 d4 !p e4 f4> g4 !80 a4 !ff b4> c5 !f d5\n");
  EXPECT_EQ(Each(tune.tracks[0], &NoteEvent::velocity), (std::vector<int>{100, 100, 55, 75, 55, 80, 127, 115, 100}));
  EXPECT_EQ(NoteListErrorOf("tempo 120\ntrack a program 1\n !loud c4\n"), "line 3: unknown dynamic '!loud'");
  EXPECT_EQ(NoteListErrorOf("tempo 120\ntrack a program 1\n !200 c4\n"), "line 3: the velocity must be 1 to 127");
}

TEST(NoteListDurations, TripletsDotsAndHeldNotes) {
  const Tune tune = ParseNoteList(
      "tempo 120\ntrack a program 1\n"
      "  c4/8t d4 e4 f4/4t g4/8t a4/1*3 b4/2.*2 c5\n");
  EXPECT_EQ(Each(tune.tracks[0], &NoteEvent::length), (std::vector<int>{160, 160, 160, 320, 160, 5760, 2880, 2880}));
  // Three triplet eighths fill one beat.
  EXPECT_EQ(tune.tracks[0].notes[3].start, 480);
  EXPECT_EQ(NoteListErrorOf("tempo 120\ntrack a program 1\n c4/4*0\n"), "line 3: the length factor must be 1 to 256");
  EXPECT_EQ(NoteListErrorOf("tempo 120\ntrack a program 1\n c4/6t\n"),
            "line 3: the duration must be 1, 2, 4, 8, 16 or 32");
}

TEST(NoteListMeter, SetsTheBarAndTheTimeSignature) {
  const Tune waltz = ParseNoteList("tempo 150\nmeter 3/4\ntrack a program 1\n c4/2.\n");
  EXPECT_EQ(waltz.BarTicks(), 1440);
  EXPECT_EQ(waltz.LengthTicks(), waltz.BarTicks());
  // FF 58 04: three beats, each a quarter (2 to the power 2).
  EXPECT_TRUE(Contains(WriteMidi(waltz), {0xFF, 0x58, 0x04, 3, 2}));
  const Tune jig = ParseNoteList("tempo 150\nmeter 6/8\ntrack a program 1\n c4/4.\n");
  EXPECT_EQ(jig.BarTicks(), 1440);
  EXPECT_TRUE(Contains(WriteMidi(jig), {0xFF, 0x58, 0x04, 6, 3}));
  EXPECT_EQ(ParseNoteList("tempo 90\ntrack a program 1\n c4\n").BarTicks(), 1920);
  EXPECT_EQ(NoteListErrorOf("tempo 120\nmeter 3\n"), "line 2: a meter is written like 3/4");
  EXPECT_EQ(NoteListErrorOf("tempo 120\nmeter 3/5\n"), "line 2: the beat's note must be 2, 4, 8 or 16");
}

TEST(NoteListTracks, SettingsReachTheMidiFile) {
  const Tune tune = ParseNoteList(
      "tempo 120\n"
      "track a program 5 volume 90 pan 20 reverb 70 gate 50\n  c4/4\n"
      "track b program 6\n  r/4\n");
  const TuneTrack& a = tune.tracks[0];
  EXPECT_EQ(a.pan, 20);
  EXPECT_EQ(a.reverb, 70);
  const std::vector<uint8_t> midi = WriteMidi(tune);
  // Controllers at the start: volume, expression, pan, reverb, chorus off.
  EXPECT_TRUE(Contains(midi, {0xB0, 7, 90, 0, 11, 127, 0, 10, 20, 0, 91, 70, 0, 93, 0}));
  // Half the quarter sounds: the key is released after 240 ticks (81 70 as a quantity).
  EXPECT_TRUE(Contains(midi, {0x90, 60, 100, 0x81, 0x70, 60, 0}));
  // Track b's defaults: the middle, a little room.
  EXPECT_TRUE(Contains(midi, {0xB1, 7, 100, 0, 11, 127, 0, 10, 64, 0, 91, 40}));
}

TEST(NoteListTracks, ChannelsAreGivenOutFreeAndSharedOnlyAlike) {
  const Tune tune = ParseNoteList(
      "tempo 120\n"
      "track a program 1 channel 2\n c4\n"
      "track b program 1\n c4\n"
      "track d channel 10\n kick\n"
      "track e program 1\n c4\n"
      "track f channel 10\n snare\n");
  std::vector<int> channels;
  for (const TuneTrack& t : tune.tracks) channels.push_back(t.channel);
  EXPECT_EQ(channels, (std::vector<int>{1, 0, 9, 2, 9}));
  EXPECT_EQ(NoteListErrorOf("tempo 120\ntrack d channel 10\n kick\ntrack e channel 10 volume 90\n snare\n"),
            "line 4: track 'e' shares channel 10 with track 'd' but not its program, volume, pan and reverb");
  EXPECT_EQ(NoteListErrorOf("tempo 120\ntrack a program 1 channel 3\n c4\ntrack b program 2 channel 3\n c4\n"),
            "line 4: track 'b' shares channel 3 with track 'a' but not its program, volume, pan and reverb");
  std::string many = "tempo 120\n";
  for (int i = 0; i < 16; ++i) many += "track t" + std::to_string(i) + " program 1\n c4\n";
  EXPECT_EQ(NoteListErrorOf(many), "line 32: no channel left for this track");
}

TEST(NoteListDrums, GeneralMidiPercussionNames) {
  const Tune tune = ParseNoteList(
      "tempo 100\ntrack d channel 10\n akick stick lconga hconga claves maracas otri cowbell rbell\n");
  EXPECT_EQ(Keys(tune.tracks[0]), (std::vector<int>{35, 37, 64, 63, 75, 70, 81, 56, 53}));
}

// Trailing rests count: the piece lasts to its last bar line, where every note is let go.
TEST(MidiWriterEnd, AllNotesOffAtTheLastBarLineOfEveryTrack) {
  const Tune tune = ParseNoteList(
      "tempo 120\n"
      "track a program 1\n c4/4 r/2.\n"
      "track d channel 10\n kick/8\n");
  ASSERT_EQ(tune.LengthTicks(), 1920);
  const std::vector<uint8_t> midi = WriteMidi(tune);
  // Track a: c4 released at 472, then 1448 ticks (8B 28) to the controller 123 at 1920.
  EXPECT_TRUE(Contains(midi, {0x83, 0x58, 60, 0, 0x8B, 0x28, 0xB0, 123, 0, 0x00, 0xFF, 0x2F, 0x00}));
  // The drum track: kick released at 232, all-notes-off 1688 ticks (8D 18) later.
  EXPECT_TRUE(Contains(midi, {0x81, 0x68, 36, 0, 0x8D, 0x18, 0xB9, 123, 0, 0x00, 0xFF, 0x2F, 0x00}));
}

}  // namespace
