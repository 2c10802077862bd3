#include "platform/midi_synthesiser.h"

#include <malloc.h>

#include "platform/midi_synth_settings.h"

namespace {

void Quiet(const SynthLibrary& fluid) {
  // The synthesiser would write its complaints about a damaged piece to the terminal;
  // our callers report failures themselves.
  for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
    fluid.fluid_set_log_function(level, nullptr, nullptr);
}

}  // namespace

MidiSynthesiser::~MidiSynthesiser() {
  if (player_) fluid_->delete_fluid_player(player_);
  if (synth_) fluid_->delete_fluid_synth(synth_);
  if (settings_) fluid_->delete_fluid_settings(settings_);
}

bool MidiSynthesiser::LibraryAvailable(std::string& error) const {
  return OpenSynthLibrary(library_, error) != nullptr;
}

bool MidiSynthesiser::Prepare(int sampleRate, double gain, std::string& error) {
  if (prepared_) {
    error = prepareError_;
    return synth_ != nullptr;
  }
  prepared_ = true;
  fluid_ = OpenSynthLibrary(library_, prepareError_);
  if (!fluid_) {
    error = prepareError_;
    return false;
  }
  Quiet(*fluid_);
  settings_ = fluid_->new_fluid_settings();
  if (!settings_) {
    error = prepareError_ = "the MIDI synthesiser's settings could not be made";
    return false;
  }
  fluid_->fluid_settings_setnum(settings_, "synth.sample-rate", sampleRate);
  fluid_->fluid_settings_setnum(settings_, "synth.gain", MidiSynth::Gain * gain);
  fluid_->fluid_settings_setint(settings_, "synth.polyphony", MidiSynth::Polyphony);
  fluid_->fluid_settings_setint(settings_, "synth.reverb.active", MidiSynth::ReverbOn ? 1 : 0);
  fluid_->fluid_settings_setnum(settings_, "synth.reverb.room-size", MidiSynth::ReverbRoomSize);
  fluid_->fluid_settings_setnum(settings_, "synth.reverb.damp", MidiSynth::ReverbDamping);
  fluid_->fluid_settings_setnum(settings_, "synth.reverb.width", MidiSynth::ReverbWidth);
  fluid_->fluid_settings_setnum(settings_, "synth.reverb.level", MidiSynth::ReverbLevel);
  fluid_->fluid_settings_setint(settings_, "synth.chorus.active", MidiSynth::ChorusOn ? 1 : 0);
  // Pinning the samples into memory is for studio latency; here it would only fail
  // under the usual lock limit and complain.
  fluid_->fluid_settings_setint(settings_, "synth.lock-memory", 0);
  // Only the instruments a piece chooses hold their samples in memory (a few of the
  // sound font's 6 MB), read when the piece selects them at its start.
  fluid_->fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
  // Every piece starts from the synthesiser's initial state, whatever the last one set.
  fluid_->fluid_settings_setint(settings_, "player.reset-synth", 1);
  fluid_synth_t* synth = fluid_->new_fluid_synth(settings_);
  if (!synth) {
    error = prepareError_ = "the MIDI synthesiser could not be made";
    return false;
  }
  if (fluid_->fluid_synth_sfload(synth, MidiSynth::SoundFontPath, 1) == FLUID_FAILED) {
    fluid_->delete_fluid_synth(synth);
    error = prepareError_ = std::string("cannot read the sound font ") + MidiSynth::SoundFontPath;
    return false;
  }
  synth_ = synth;
  // Reading the sound font leaves megabytes of freed file buffers in the heap.
  malloc_trim(0);
  return true;
}

bool MidiSynthesiser::Start(std::span<const uint8_t> piece, std::string& error) {
  if (!synth_) {
    error = prepareError_.empty() ? "the MIDI synthesiser is not ready" : prepareError_;
    return false;
  }
  Stop();
  std::lock_guard lock(mutex_);
  player_ = fluid_->new_fluid_player(synth_);
  if (!player_) {
    error = "the MIDI player could not be made";
    return false;
  }
  if (fluid_->fluid_player_add_mem(player_, piece.data(), piece.size()) != FLUID_OK ||
      fluid_->fluid_player_play(player_) != FLUID_OK) {
    error = "the MIDI piece could not be started";
    fluid_->delete_fluid_player(player_);
    player_ = nullptr;
    return false;
  }
  return true;
}

void MidiSynthesiser::Stop() {
  std::lock_guard lock(mutex_);
  if (player_) {
    fluid_->fluid_player_stop(player_);
    fluid_->delete_fluid_player(player_);
    player_ = nullptr;
  }
  if (synth_) fluid_->fluid_synth_all_sounds_off(synth_, -1);
}

bool MidiSynthesiser::Playing() const {
  return player_ && fluid_->fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING;
}

void MidiSynthesiser::Render(int16_t* out, int frames, int channels) {
  if (!synth_ || frames <= 0 || channels <= 0) return;
  const int right = channels > 1 ? 1 : 0;
  std::lock_guard lock(mutex_);
  fluid_->fluid_synth_write_s16(synth_, frames, out, 0, channels, out, right, channels);
}
