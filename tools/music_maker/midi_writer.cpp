#include "music_maker/midi_writer.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace {

struct Event {
  int tick;
  int order;  // note-offs first, so a repeated key is released before it strikes again
  uint8_t status;
  uint8_t data1;
  uint8_t data2;
};

void AppendBig(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void AppendChunk(std::vector<uint8_t>& out, const char* id, const std::vector<uint8_t>& body) {
  out.insert(out.end(), id, id + 4);
  AppendBig(out, static_cast<uint32_t>(body.size()), 4);
  out.insert(out.end(), body.begin(), body.end());
}

void AppendEndOfTrack(std::vector<uint8_t>& body) {
  body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
}

std::vector<uint8_t> TempoTrack(const Tune& tune) {
  std::vector<uint8_t> body;
  const uint32_t microsPerQuarter = static_cast<uint32_t>(60000000 / tune.tempo);
  body.insert(body.end(), {0x00, 0xFF, 0x51, 0x03});
  AppendBig(body, microsPerQuarter, 3);
  uint8_t unitPower = 0;
  while ((1 << unitPower) < tune.beatUnit) ++unitPower;
  body.insert(body.end(), {0x00, 0xFF, 0x58, 0x04, static_cast<uint8_t>(tune.beatsPerBar), unitPower,
                           0x18, 0x08});
  AppendEndOfTrack(body);
  return body;
}

uint8_t Byte(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 127)); }

// Every controller a piece relies on is set at its start, so nothing carries over from
// the piece before on the same synthesiser; an all-notes-off at the last bar line marks
// the end, so the piece lasts its whole written length and leaves nothing sounding.
std::vector<uint8_t> NoteTrack(const TuneTrack& track, int endTick) {
  std::vector<uint8_t> body;
  body.insert(body.end(), {0x00, 0xFF, 0x03});
  AppendVarLen(body, static_cast<uint32_t>(track.name.size()));
  body.insert(body.end(), track.name.begin(), track.name.end());

  const uint8_t ch = static_cast<uint8_t>(track.channel & 0x0F);
  std::vector<Event> events;
  const uint8_t control = static_cast<uint8_t>(0xB0 | ch);
  const std::pair<uint8_t, int> controllers[] = {
      {7, track.volume}, {11, 127}, {10, track.pan}, {91, track.reverb}, {93, 0}};
  for (const auto& [number, value] : controllers) events.push_back({0, 0, control, number, Byte(value)});
  if (track.channel != 9)
    events.push_back({0, 1, static_cast<uint8_t>(0xC0 | ch), static_cast<uint8_t>(track.program), 0});
  if (track.release != 100) {
    // The sound font's release time, offset in timecents through its NRPN (MSB 120,
    // LSB = the generator; data 8192 is no offset, a step is 2 timecents). The data
    // entry's MSB comes last: it applies the value.
    constexpr int kVolumeEnvelopeRelease = 38;
    const int cents = static_cast<int>(std::lround(1200.0 * std::log2(track.release / 100.0)));
    const int data = std::clamp(8192 + cents / 2, 0, 16383);
    const std::pair<uint8_t, int> nrpn[] = {{99, 120}, {98, kVolumeEnvelopeRelease}, {38, data & 0x7F}, {6, data >> 7}};
    for (const auto& [number, value] : nrpn) events.push_back({0, 1, control, number, Byte(value)});
  }
  for (const NoteEvent& n : track.notes) {
    const int sounding = track.gate > 0 ? n.length * track.gate / 100 : n.length - 8;
    // A note-on with velocity 0 ends the note and keeps the running status.
    events.push_back({n.start, 3, static_cast<uint8_t>(0x90 | ch), static_cast<uint8_t>(n.key),
                      Byte(n.velocity)});
    events.push_back({n.start + std::max(1, sounding), 2, static_cast<uint8_t>(0x90 | ch),
                      static_cast<uint8_t>(n.key), 0});
  }
  events.push_back({endTick, 4, control, 123, 0});
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });

  int lastTick = 0;
  int runningStatus = -1;
  for (const Event& e : events) {
    AppendVarLen(body, static_cast<uint32_t>(e.tick - lastTick));
    lastTick = e.tick;
    if (e.status != runningStatus) body.push_back(e.status);
    runningStatus = e.status;
    body.push_back(e.data1);
    if ((e.status & 0xF0) != 0xC0) body.push_back(e.data2);
  }
  AppendEndOfTrack(body);
  return body;
}

}  // namespace

void AppendVarLen(std::vector<uint8_t>& out, uint32_t value) {
  uint8_t bytes[5];
  int count = 0;
  do {
    bytes[count++] = static_cast<uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0 && count < 5);
  for (int i = count - 1; i >= 0; --i)
    out.push_back(static_cast<uint8_t>(bytes[i] | (i > 0 ? 0x80 : 0x00)));
}

std::vector<uint8_t> WriteMidi(const Tune& tune) {
  std::vector<uint8_t> header;
  AppendBig(header, 1, 2);  // format 1
  AppendBig(header, static_cast<uint32_t>(tune.tracks.size() + 1), 2);
  AppendBig(header, TicksPerQuarter, 2);
  std::vector<uint8_t> out;
  AppendChunk(out, "MThd", header);
  AppendChunk(out, "MTrk", TempoTrack(tune));
  for (const TuneTrack& t : tune.tracks) AppendChunk(out, "MTrk", NoteTrack(t, tune.LengthTicks()));
  return out;
}
