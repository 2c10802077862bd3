// What the build ships in the game directory: effects and the opening song at their
// loudness, and MIDI pieces that end cleanly and differ from one another. (The pieces'
// own loudness is held by the music maker at build time: it levels every piece and
// refuses one it cannot bring onto the target.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "loudness_meter/loudness_table.h"

namespace fs = std::filesystem;

namespace {

struct MidiEvent {
  int tick;
  uint8_t status;  // 0xFF for meta events
  uint8_t a, b;    // data bytes; for meta events `a` is the type
  std::vector<uint8_t> data;
};

// Reads a standard MIDI file into its tracks' events; ADD_FAILUREs on anything damaged.
std::vector<std::vector<MidiEvent>> ReadMidi(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::vector<MidiEvent>> tracks;
  auto big = [&](size_t at, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | b.at(at + static_cast<size_t>(i));
    return v;
  };
  size_t at = 14;
  while (at + 8 <= b.size()) {
    const size_t end = at + 8 + big(at + 4, 4);
    std::vector<MidiEvent> events;
    int tick = 0;
    uint8_t running = 0;
    for (size_t p = at + 8; p < end;) {
      uint32_t delta = 0;
      do delta = (delta << 7) | (b.at(p) & 0x7F);
      while (b.at(p++) & 0x80);
      tick += static_cast<int>(delta);
      uint8_t status = b.at(p);
      if (status & 0x80) ++p;
      else status = running;
      if (status == 0xFF) {
        const uint8_t type = b.at(p);
        const size_t length = b.at(p + 1);
        events.push_back({tick, 0xFF, type, 0, {b.begin() + long(p) + 2, b.begin() + long(p + 2 + length)}});
        p += 2 + length;
        continue;
      }
      running = status;
      const bool one = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0;
      events.push_back({tick, status, b.at(p), one ? uint8_t(0) : b.at(p + 1), {}});
      p += one ? 1 : 2;
    }
    tracks.push_back(std::move(events));
    at = end;
  }
  return tracks;
}

std::vector<fs::path> ShippedPieces() {
  std::vector<fs::path> pieces;
  for (int n = 0;; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "MIDIFILE%02d.MID", n);
    const fs::path path = fs::path(TROK_GAME_DIR) / "Music" / name;
    if (!fs::exists(path)) break;
    pieces.push_back(path);
  }
  return pieces;
}

TEST(ShippedSound, EveryEffectPeaksWithinItsRange) {
  const std::vector<LoudnessRow> rows = MeasureEffects(TROK_GAME_DIR);
  EXPECT_EQ(rows.size(), 26u);
  for (const LoudnessRow& r : rows) EXPECT_TRUE(r.Ok()) << r.name << " " << r.error << " peak " << r.loudness.peakDb;
}

TEST(ShippedSound, OpeningSongSitsInItsRange) {
  const LoudnessRow song = MeasureOpeningSong(TROK_GAME_DIR);
  EXPECT_TRUE(song.Ok()) << song.error << " RMS " << song.loudness.rmsDb << " peak " << song.loudness.peakDb;
  EXPECT_GE(song.loudness.seconds, 20.0);
  EXPECT_LE(song.loudness.seconds, 41.0);
}

// A new piece follows as soon as one ends, so each must let go of every note, and all of
// its parts must stop together at a bar line.
TEST(ShippedMusic, PiecesReleaseEveryNoteAndEndTogetherOnABarLine) {
  const std::vector<fs::path> pieces = ShippedPieces();
  ASSERT_GE(pieces.size(), 8u);
  for (const fs::path& piece : pieces) {
    const auto tracks = ReadMidi(piece);
    ASSERT_GE(tracks.size(), 3u) << piece;
    int barTicks = 0;
    for (const MidiEvent& e : tracks[0])
      if (e.status == 0xFF && e.a == 0x58) barTicks = 4 * 480 / (1 << e.data.at(1)) * e.data.at(0);
    ASSERT_GT(barTicks, 0) << piece;
    std::set<int> ends;
    for (size_t t = 1; t < tracks.size(); ++t) {
      std::map<int, int> sounding;  // key -> notes on
      bool volumeSet = false, closed = false;
      for (const MidiEvent& e : tracks[t]) {
        const int kind = e.status & 0xF0;
        if (kind == 0x90 && e.b > 0) {
          EXPECT_EQ(sounding[e.a]++, 0) << piece << " key " << int(e.a) << " struck twice at " << e.tick;
        } else if (kind == 0x80 || kind == 0x90) {
          EXPECT_EQ(--sounding[e.a], 0) << piece << " key " << int(e.a) << " released unstruck";
        } else if (kind == 0xB0 && e.a == 7 && e.tick == 0) {
          volumeSet = true;
        } else if (kind == 0xB0 && e.a == 123) {
          closed = true;
          ends.insert(e.tick);
        }
      }
      for (const auto& [key, count] : sounding) EXPECT_EQ(count, 0) << piece << " key " << key << " left sounding";
      EXPECT_TRUE(volumeSet) << piece << " track " << t;
      EXPECT_TRUE(closed) << piece << " track " << t;
    }
    ASSERT_EQ(ends.size(), 1u) << piece;
    EXPECT_EQ(*ends.begin() % barTicks, 0) << piece;
  }
}

// No two pieces share their tempo or their lead instrument, nor most of their band.
TEST(ShippedMusic, PiecesDifferInTempoAndInstruments) {
  struct Character {
    std::string name;
    double bpm = 0;
    int lead = -1;
    std::set<int> programs;
  };
  std::vector<Character> all;
  for (const fs::path& piece : ShippedPieces()) {
    Character c{piece.filename().string()};
    const auto tracks = ReadMidi(piece);
    for (const MidiEvent& e : tracks.at(0))
      if (e.status == 0xFF && e.a == 0x51)
        c.bpm = 60e6 / ((e.data.at(0) << 16) | (e.data.at(1) << 8) | e.data.at(2));
    for (size_t t = 1; t < tracks.size(); ++t)
      for (const MidiEvent& e : tracks[t])
        if ((e.status & 0xF0) == 0xC0) {
          if (c.lead < 0) c.lead = e.a;
          c.programs.insert(e.a);
        }
    all.push_back(c);
  }
  for (size_t i = 0; i < all.size(); ++i)
    for (size_t j = 0; j < i; ++j) {
      const Character& a = all[i];
      const Character& b = all[j];
      EXPECT_GE(std::abs(a.bpm - b.bpm), 3.9) << a.name << " " << b.name;
      EXPECT_NE(a.lead, b.lead) << a.name << " " << b.name;
      std::vector<int> shared;
      std::set_intersection(a.programs.begin(), a.programs.end(), b.programs.begin(), b.programs.end(),
                            std::back_inserter(shared));
      EXPECT_LE(2 * shared.size(), std::min(a.programs.size(), b.programs.size())) << a.name << " " << b.name;
    }
}

}  // namespace
