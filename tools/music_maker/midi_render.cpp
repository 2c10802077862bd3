#include "music_maker/midi_render.h"

#include <fluidsynth.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <string_view>

#include "platform/midi_synth_settings.h"

namespace {

// Longer than any piece could be: a damaged file must not render forever.
constexpr double LongestPieceSeconds = 20 * 60;
constexpr int BlockFrames = 1024;

template <typename T, void (*Delete)(T*)>
struct Deleter {
  void operator()(T* p) const { Delete(p); }
};
using Settings = std::unique_ptr<fluid_settings_t, Deleter<fluid_settings_t, delete_fluid_settings>>;
using Synth = std::unique_ptr<fluid_synth_t, Deleter<fluid_synth_t, delete_fluid_synth>>;
using Player = std::unique_ptr<fluid_player_t, Deleter<fluid_player_t, delete_fluid_player>>;

void QuietenWarnings() {
  // The sound font's harmless quirks would otherwise be printed at every render.
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level : {FLUID_WARN, FLUID_INFO, FLUID_DBG}) fluid_set_log_function(level, nullptr, nullptr);
  });
}

Settings GameSynthSettings() {
  Settings s(new_fluid_settings());
  if (!s) return s;
  fluid_settings_setnum(s.get(), "synth.sample-rate", MidiSynth::SampleRate);
  fluid_settings_setnum(s.get(), "synth.gain", MidiSynth::Gain);
  fluid_settings_setint(s.get(), "synth.polyphony", MidiSynth::Polyphony);
  fluid_settings_setint(s.get(), "synth.reverb.active", MidiSynth::ReverbOn ? 1 : 0);
  fluid_settings_setnum(s.get(), "synth.reverb.room-size", MidiSynth::ReverbRoomSize);
  fluid_settings_setnum(s.get(), "synth.reverb.damp", MidiSynth::ReverbDamping);
  fluid_settings_setnum(s.get(), "synth.reverb.width", MidiSynth::ReverbWidth);
  fluid_settings_setnum(s.get(), "synth.reverb.level", MidiSynth::ReverbLevel);
  fluid_settings_setint(s.get(), "synth.chorus.active", MidiSynth::ChorusOn ? 1 : 0);
  // Offline: the player's clock is the count of rendered samples, not the wall clock.
  fluid_settings_setstr(s.get(), "player.timing-source", "sample");
  fluid_settings_setint(s.get(), "synth.lock-memory", 0);
  return s;
}

}  // namespace

bool RenderMidi(std::span<const uint8_t> midi, std::vector<float>& stereo, std::string& error) {
  QuietenWarnings();
  stereo.clear();
  // The player takes any bytes and merely plays nothing; refuse them here instead.
  if (midi.size() < 14 || std::string_view(reinterpret_cast<const char*>(midi.data()), 4) != "MThd") {
    error = "not a standard MIDI file";
    return false;
  }
  Settings settings = GameSynthSettings();
  Synth synth(settings ? new_fluid_synth(settings.get()) : nullptr);
  if (!synth) {
    error = "the MIDI synthesiser could not start";
    return false;
  }
  if (fluid_synth_sfload(synth.get(), MidiSynth::SoundFontPath, 1) == FLUID_FAILED) {
    error = std::string("cannot load the sound font ") + MidiSynth::SoundFontPath +
            " (Debian package timgm6mb-soundfont)";
    return false;
  }
  Player player(new_fluid_player(synth.get()));
  if (!player || fluid_player_add_mem(player.get(), midi.data(), midi.size()) != FLUID_OK ||
      fluid_player_play(player.get()) != FLUID_OK) {
    error = "the MIDI player refused the piece";
    return false;
  }
  const size_t limit = static_cast<size_t>(LongestPieceSeconds * MidiSynth::SampleRate) * 2;
  size_t used = 0;
  while (fluid_player_get_status(player.get()) == FLUID_PLAYER_PLAYING) {
    if (used > limit) {
      error = "the piece does not end";
      return false;
    }
    if (stereo.size() < used + 2 * BlockFrames) stereo.resize(std::max(2 * stereo.size(), used + 2 * BlockFrames));
    // Straight into the interleaved buffer: left at even, right at odd positions.
    float* at = stereo.data() + used;
    if (fluid_synth_write_float(synth.get(), BlockFrames, at, 0, 2, at, 1, 2) != FLUID_OK) {
      error = "the MIDI synthesiser failed";
      return false;
    }
    used += 2 * BlockFrames;
  }
  stereo.resize(used);
  if (stereo.empty()) {
    error = "the piece holds no music";
    return false;
  }
  return true;
}
