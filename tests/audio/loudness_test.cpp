// Measuring loudness, rendering through the game's MIDI synthesiser, levelling pieces to
// their target, and playing an effect as the game does.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "loudness_meter/effect_playback.h"
#include "music_maker/loudness.h"
#include "music_maker/midi_render.h"
#include "music_maker/midi_writer.h"
#include "music_maker/note_list.h"
#include "music_maker/piece_levels.h"
#include "platform/midi_synth_settings.h"

namespace {

constexpr int Rate = MidiSynth::SampleRate;

// A sine with exactly 40 samples a period, so that its crests fall on samples.
std::vector<float> StereoSine(double amplitude, double seconds) {
  std::vector<float> out;
  for (int i = 0; i < static_cast<int>(seconds * Rate); ++i) {
    const auto s = static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * i / 40.0));
    out.push_back(s);
    out.push_back(s);
  }
  return out;
}

Loudness Rendered(const std::vector<uint8_t>& midi) {
  std::vector<float> pcm;
  std::string error;
  EXPECT_TRUE(RenderMidi(midi, pcm, error)) << error;
  return MeasureLoudness(pcm, 2, Rate);
}

TEST(Loudness, KnownSinesMeasureAsTheyShould) {
  const Loudness full = MeasureLoudness(StereoSine(1.0, 2.0), 2, Rate);
  EXPECT_NEAR(full.seconds, 2.0, 1e-3);
  EXPECT_NEAR(full.rmsDb, -3.01, 0.01);
  EXPECT_NEAR(full.peakDb, 0.0, 0.01);
  const Loudness half = MeasureLoudness(StereoSine(0.5, 1.0), 2, Rate);
  EXPECT_NEAR(half.rmsDb, -9.03, 0.01);
  EXPECT_NEAR(half.peakDb, -6.02, 0.01);

  // 16-bit samples: full scale is 32768, one channel.
  std::vector<int16_t> pcm;
  for (int i = 0; i < Rate; ++i)
    pcm.push_back(static_cast<int16_t>(std::lround(8192 * std::sin(2 * std::numbers::pi * i / 40.0))));
  const Loudness quarter = MeasureLoudness(pcm, 1, Rate);
  EXPECT_NEAR(quarter.seconds, 1.0, 1e-3);
  EXPECT_NEAR(quarter.rmsDb, -15.05, 0.01);
  EXPECT_NEAR(quarter.peakDb, -12.04, 0.01);

  const Loudness silence = MeasureLoudness(std::vector<float>(1000, 0.0f), 2, Rate);
  EXPECT_LE(silence.rmsDb, -150);
  EXPECT_LE(silence.peakDb, -150);
  EXPECT_EQ(MeasureLoudness(std::vector<float>{}, 2, Rate).seconds, 0.0);
}

// The leveller scales controller 7 by the square root of the gain it wants; that holds
// only if the synthesiser's volume follows the square of the controller.
TEST(MidiRender, VolumeFollowsTheSquareOfControllerSeven) {
  const char* text = "tempo 120\ntrack a program 1 volume %d\n c4+e4+g4/1 a3+c4+f4/1\n";
  char loud[128], soft[128];
  std::snprintf(loud, sizeof loud, text, 127);
  std::snprintf(soft, sizeof soft, text, 64);
  const Loudness a = Rendered(WriteMidi(ParseNoteList(loud)));
  const Loudness b = Rendered(WriteMidi(ParseNoteList(soft)));
  EXPECT_NEAR(b.rmsDb - a.rmsDb, 40 * std::log10(64.0 / 127.0), 0.15);
  EXPECT_NEAR(b.peakDb - a.peakDb, 40 * std::log10(64.0 / 127.0), 0.15);
}

TEST(MidiRender, APieceLastsToItsLastBarLine) {
  // One short note and then rests: the rests are part of the piece.
  const Loudness l = Rendered(WriteMidi(ParseNoteList("tempo 120\ntrack a program 1\n c4/8 r/8 r/4 r/2 r/1\n")));
  EXPECT_GE(l.seconds, 4.0);
  EXPECT_LT(l.seconds, 8.0);  // then only the last sounds dying away
}

// A shortened release must reach the synthesiser: the strings' fade after a short note
// dies away much sooner, while the note itself sounds as loud.
TEST(MidiRender, ReleaseShortensTheInstrumentsFade) {
  auto render = [](int release) {
    char text[160];
    std::snprintf(text, sizeof text, "tempo 120\ntrack a program 49 release %d\n c4+e4+g4/4 r/4 r/2 r/1\n", release);
    std::vector<float> pcm;
    std::string error;
    EXPECT_TRUE(RenderMidi(WriteMidi(ParseNoteList(text)), pcm, error)) << error;
    return pcm;
  };
  auto rmsDb = [](const std::vector<float>& pcm, double from, double to) {
    double sum = 0;
    size_t n = 0;
    for (size_t i = static_cast<size_t>(from * Rate) * 2; i < std::min(pcm.size(), static_cast<size_t>(to * Rate) * 2); ++i, ++n)
      sum += double(pcm[i]) * pcm[i];
    return 10 * std::log10(sum / std::max<size_t>(n, 1) + 1e-20);
  };
  const std::vector<float> full = render(100), quarter = render(25);
  EXPECT_NEAR(rmsDb(quarter, 0.05, 0.4), rmsDb(full, 0.05, 0.4), 1.0);
  // (the room's reverb fades as before, so the difference stays some 8 dB)
  EXPECT_LT(rmsDb(quarter, 1.0, 2.0), rmsDb(full, 1.0, 2.0) - 6);
}

TEST(MidiRender, RefusesWhatIsNotMusic) {
  std::vector<float> pcm;
  std::string error;
  const std::vector<uint8_t> junk = {'n', 'o', 't', ' ', 'm', 'i', 'd', 'i'};
  EXPECT_FALSE(RenderMidi(junk, pcm, error));
  EXPECT_FALSE(error.empty());
}

// Strings, a bass and a soft beat, all at one channel volume.
Tune Band(int volume) {
  char text[512];
  std::snprintf(text, sizeof text,
                "tempo 120\n"
                "track pad program 49 volume %d\n  !ff [ c4+e4+g4/1 a3+c4+f4/1 ]x2\n"
                "track bass program 33 volume %d\n  !ff [ c2/4 c3 g2 c3 f2 f3 c3 f3 ]x2\n"
                "track drums channel 10 volume %d\n  !mp [ kick/4 hat snare hat ]x4\n",
                volume, volume, volume);
  return ParseNoteList(text);
}

TEST(PieceLevels, QuietAndLoudPiecesBothLandOnTheTarget) {
  // Written some 13 dB too loud (peaking above full scale) and some 13 dB too quiet.
  for (const Tune& tune : {Band(127), Band(45)}) {
    LevelledPiece levelled;
    std::string error;
    ASSERT_TRUE(LevelPiece(tune, levelled, error)) << error;
    // What the leveller reports is what the game's synthesiser then plays.
    const Loudness played = Rendered(levelled.midi);
    EXPECT_TRUE(PieceTarget.Met(played)) << played.rmsDb << " " << played.peakDb;
    EXPECT_NEAR(played.rmsDb, levelled.loudness.rmsDb, 0.3);
    EXPECT_NEAR(played.peakDb, levelled.loudness.peakDb, 0.3);
    EXPECT_LE(played.peakDb, PieceAimPeakDb + 0.5);
  }
}

TEST(PieceLevels, PiecesThatCannotMeetTheTargetAreRefusedWithTheReason) {
  LevelledPiece levelled;
  std::string error;
  // One cymbal crash and a long silence: its peak stands far above its average.
  // One crash of the whole kit and a long silence: its peak stands far above its average.
  EXPECT_FALSE(LevelPiece(
      ParseNoteList("tempo 120\ntrack d channel 10 volume 100\n !ff crash+kick+snare+clap+htom/1 r/1*3\n"),
      levelled, error));
  EXPECT_NE(error.find("loudest moments"), std::string::npos) << error;
  // A whisper already at full channel volume cannot be raised far enough.
  error.clear();
  EXPECT_FALSE(LevelPiece(ParseNoteList("tempo 120\ntrack a program 74 volume 127\n !1 c5/1\n"), levelled, error));
  EXPECT_NE(error.find("at their limits"), std::string::npos) << error;
}

TEST(EffectPlayback, MonoBecomesStereoAtTheMixerRate) {
  WaveData wave;
  wave.format = {1, 1, 11025, 11025, 1, 8, 0};
  for (int i = 0; i < 1100; ++i) wave.samples.push_back(i % 20 < 10 ? 192 : 64);  // +-0.5
  const std::vector<float> played = PlayedEffect(wave, Rate);
  ASSERT_EQ(played.size(), 2u * 2200u);
  for (size_t i = 0; i < played.size(); i += 2) ASSERT_EQ(played[i], played[i + 1]) << i;
  const Loudness l = MeasureLoudness(played, 2, Rate);
  EXPECT_NEAR(l.seconds, 0.0998, 1e-3);
  EXPECT_NEAR(l.peakDb, -6.02, 0.01);
}

}  // namespace
