#include "audio/midi_file_check.h"

#include <cstring>

namespace {

uint32_t Read32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

// Reads a variable-length quantity (at most four bytes); false when cut short.
bool ReadVarLength(std::span<const uint8_t> track, size_t& pos, uint32_t& value) {
  value = 0;
  for (int i = 0; i < 4; ++i) {
    if (pos >= track.size()) return false;
    const uint8_t b = track[pos++];
    value = (value << 7) | (b & 0x7F);
    if (!(b & 0x80)) return true;
  }
  return false;
}

// Data bytes that follow a channel message's status byte.
int DataBytes(uint8_t status) {
  const uint8_t kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

bool CheckTrack(std::span<const uint8_t> track, std::string& error) {
  size_t pos = 0;
  uint8_t running = 0;
  while (pos < track.size()) {
    uint32_t delta = 0;
    if (!ReadVarLength(track, pos, delta) || pos >= track.size()) {
      error = "a track's event is cut short";
      return false;
    }
    uint8_t status = track[pos];
    if (status & 0x80) {
      ++pos;
    } else if (running == 0) {
      error = "a track's event has no status";
      return false;
    } else {
      status = running;  // running status: the byte was already data
    }
    uint32_t length = 0;
    if (status == 0xFF) {
      if (pos >= track.size()) {
        error = "a meta event is cut short";
        return false;
      }
      ++pos;  // meta type
      if (!ReadVarLength(track, pos, length)) {
        error = "a meta event is cut short";
        return false;
      }
      running = 0;
    } else if (status == 0xF0 || status == 0xF7) {
      if (!ReadVarLength(track, pos, length)) {
        error = "a system exclusive event is cut short";
        return false;
      }
      running = 0;
    } else if (status >= 0xF0) {
      error = "a track holds a system message that files may not hold";
      return false;
    } else {
      running = status;
      length = static_cast<uint32_t>(DataBytes(status));
      for (uint32_t i = 0; i < length && pos + i < track.size(); ++i)
        if (track[pos + i] & 0x80) {
          error = "a channel event's data byte has its top bit set";
          return false;
        }
    }
    if (length > track.size() - pos) {
      error = "a track's event runs past its end";
      return false;
    }
    pos += length;
  }
  return true;
}

}  // namespace

bool CheckMidiFile(std::span<const uint8_t> bytes, std::string& error) {
  if (bytes.size() < 14 || std::memcmp(bytes.data(), "MThd", 4) != 0 || Read32(bytes.data() + 4) < 6) {
    error = "not a standard MIDI file";
    return false;
  }
  const size_t headerEnd = 8 + static_cast<size_t>(Read32(bytes.data() + 4));
  const int format = (bytes[8] << 8) | bytes[9];
  const int tracks = (bytes[10] << 8) | bytes[11];
  if (format > 2 || tracks < 1 || (format == 0 && tracks != 1) || headerEnd > bytes.size()) {
    error = "the MIDI file's header is not valid";
    return false;
  }
  size_t pos = headerEnd;
  for (int t = 0; t < tracks; ++t) {
    // Chunks of other kinds may lie between the tracks; they are skipped.
    for (;;) {
      if (bytes.size() - pos < 8) {
        error = "the MIDI file ends before its track " + std::to_string(t + 1);
        return false;
      }
      const size_t size = Read32(bytes.data() + pos + 4);
      if (size > bytes.size() - pos - 8) {
        error = "the MIDI file's track " + std::to_string(t + 1) + " is cut short";
        return false;
      }
      const bool isTrack = std::memcmp(bytes.data() + pos, "MTrk", 4) == 0;
      const std::span<const uint8_t> body = bytes.subspan(pos + 8, size);
      pos += 8 + size;
      if (!isTrack) continue;
      if (!CheckTrack(body, error)) return false;
      break;
    }
  }
  return true;
}
