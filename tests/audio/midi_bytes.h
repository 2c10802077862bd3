#pragma once
// Hand-built standard MIDI files for the music tests.
#include <cstdint>
#include <vector>

// A type 0 file of one track; `events` are the track's bytes up to (not including) the
// end-of-track meta event, which is added.
inline std::vector<uint8_t> MidiFile(std::vector<uint8_t> events, int division = 96) {
  events.insert(events.end(), {0x00, 0xFF, 0x2F, 0x00});
  std::vector<uint8_t> file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1,
                            static_cast<uint8_t>(division >> 8), static_cast<uint8_t>(division)};
  const uint32_t size = static_cast<uint32_t>(events.size());
  file.insert(file.end(), {'M', 'T', 'r', 'k', static_cast<uint8_t>(size >> 24),
                           static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 8),
                           static_cast<uint8_t>(size)});
  file.insert(file.end(), events.begin(), events.end());
  return file;
}

// One piano note of `ticks` (96 per beat at 120 beats a minute: 96 ticks last 0.5 s).
inline std::vector<uint8_t> ShortTune(uint8_t ticks = 10) {
  return MidiFile({0x00, 0xC0, 0x00, 0x00, 0x90, 60, 100, ticks, 0x80, 60, 0});
}
