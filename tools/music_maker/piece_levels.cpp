#include "music_maker/piece_levels.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <thread>

#include "music_maker/midi_render.h"
#include "music_maker/midi_writer.h"
#include "platform/midi_synth_settings.h"

namespace {

constexpr int Attempts = 4;
constexpr double Tolerance = 0.75;  // dB around the aim

// The synthesiser's volume follows the square of controller 7 (127 to 64 is -11.9 dB), so
// a gain of g dB scales every controller by 10^(g/40). `exact` is false when a controller
// had to be held at its limit, which changes the balance of the parts.
Tune WithGain(const Tune& tune, double gainDb, bool& exact) {
  Tune scaled = tune;
  exact = true;
  const double factor = std::pow(10.0, gainDb / 40.0);
  for (TuneTrack& t : scaled.tracks) {
    const long wanted = std::lround(t.volume * factor);
    exact &= wanted >= 1 && wanted <= 127;
    t.volume = static_cast<int>(std::clamp(wanted, 1L, 127L));
  }
  return scaled;
}

bool OnAim(const Loudness& l) {
  // A little room under the limits, for the synthesiser's state left by the piece before.
  const bool inside = l.rmsDb >= PieceTarget.rmsLow + 0.2 && l.rmsDb <= PieceTarget.rmsHigh - 0.2 &&
                      l.peakDb <= PieceTarget.peakHigh - 0.2;
  return inside && (std::abs(l.rmsDb - PieceAimRmsDb) <= Tolerance ||
                    std::abs(l.peakDb - PieceAimPeakDb) <= Tolerance);
}

std::string Describe(const Loudness& l) {
  char text[96];
  std::snprintf(text, sizeof text, "RMS %.1f dBFS, peak %.1f dBFS", l.rmsDb, l.peakDb);
  return text;
}

std::vector<int> Volumes(const Tune& tune) {
  std::vector<int> volumes;
  for (const TuneTrack& t : tune.tracks) volumes.push_back(t.volume);
  return volumes;
}

}  // namespace

bool LevelPiece(const Tune& tune, LevelledPiece& out, std::string& error) {
  double gainDb = 0;
  bool exact = true;
  Tune scaled = tune;
  std::vector<float> pcm;
  for (int attempt = 0; attempt < Attempts; ++attempt) {
    out.midi = WriteMidi(scaled);
    if (!RenderMidi(out.midi, pcm, error)) return false;
    out.loudness = MeasureLoudness(pcm, 2, MidiSynth::SampleRate);
    out.gainDb = gainDb;
    if (OnAim(out.loudness)) return true;
    const double step = std::min(PieceAimRmsDb - out.loudness.rmsDb, PieceAimPeakDb - out.loudness.peakDb);
    Loudness expected = out.loudness;
    expected.rmsDb += step;
    expected.peakDb += step;
    gainDb += step;
    const Tune rendered = std::move(scaled);
    scaled = WithGain(tune, gainDb, exact);
    if (!exact) {
      // The balance changed, so measure again, unless every volume is already held at its limit.
      if (Volumes(scaled) == Volumes(rendered)) break;
      continue;
    }
    // Scaled exactly, the piece lands where the step says, give or take the rounding of
    // the controllers (a tenth of a decibel or so); rendering again would only confirm it.
    if (!OnAim(expected)) break;
    out.midi = WriteMidi(scaled);
    out.loudness = expected;
    out.gainDb = gainDb;
    return true;
  }
  error = "cannot be levelled (" + Describe(out.loudness) + "): " +
          (exact ? "its loudest moments stand too far above the rest; soften them"
                 : "its channel volumes are at their limits; write louder or softer notes");
  return false;
}

void LevelPieces(const std::vector<Tune>& tunes, std::vector<LevelledPiece>& out,
                 std::vector<std::string>& errors) {
  out.assign(tunes.size(), {});
  errors.assign(tunes.size(), {});
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i = next++; i < tunes.size(); i = next++) LevelPiece(tunes[i], out[i], errors[i]);
  };
  const size_t helpers = std::min<size_t>(tunes.size(), std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::thread> threads;
  for (size_t t = 1; t < helpers; ++t) threads.emplace_back(work);
  work();
  for (std::thread& t : threads) t.join();
}

void LevelOpeningSong(std::vector<int16_t>& mono) {
  const Loudness l = MeasureLoudness(mono, 1, 1);
  const double gain = DbToAmplitude(std::min(OpeningAimRmsDb - l.rmsDb, OpeningAimPeakDb - l.peakDb));
  for (int16_t& s : mono)
    s = static_cast<int16_t>(std::clamp(std::lround(s * gain), -32768L, 32767L));
}
