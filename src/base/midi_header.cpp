#include "base/midi_header.h"

#include <cstring>

bool IsStandardMidiHeader(std::span<const uint8_t> fileStart) {
  if (fileStart.size() < MidiHeaderBytes) return false;
  const uint8_t* p = fileStart.data();
  if (std::memcmp(p, "MThd", 4) != 0) return false;
  // Big-endian, as everything in a MIDI file.
  const uint32_t length = (uint32_t{p[4]} << 24) | (uint32_t{p[5]} << 16) | (uint32_t{p[6]} << 8) | p[7];
  const unsigned format = (p[8] << 8) | p[9];
  const unsigned tracks = (p[10] << 8) | p[11];
  const unsigned division = (p[12] << 8) | p[13];
  if (length < 6 || format > 2 || tracks == 0 || division == 0) return false;
  return format != 0 || tracks == 1;
}
