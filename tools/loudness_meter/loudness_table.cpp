#include "loudness_meter/loudness_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "audio/sound_effects.h"
#include "audio/wave_file.h"
#include "loudness_meter/effect_playback.h"
#include "music_maker/midi_render.h"
#include "music_maker/mp3_decoder.h"
#include "platform/midi_synth_settings.h"
#include "sound_maker/wave_writer.h"

namespace fs = std::filesystem;

namespace {

bool ReadBytes(const fs::path& path, std::vector<uint8_t>& bytes, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path.string();
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

std::vector<int16_t> ToPcm16(const std::vector<float>& samples) {
  std::vector<int16_t> out(samples.size());
  for (size_t i = 0; i < samples.size(); ++i)
    out[i] = static_cast<int16_t>(std::lround(std::clamp(samples[i] * 32768.0f, -32768.0f, 32767.0f)));
  return out;
}

void KeepWave(const std::string& wavDir, const std::string& name, const std::vector<int16_t>& pcm,
              int rate, int channels, LoudnessRow& row) {
  if (wavDir.empty()) return;
  const std::string path = (fs::path(wavDir) / (fs::path(name).stem().string() + ".wav")).string();
  std::string error;
  if (!SaveWave(pcm, rate, path, error, channels)) row.error = error;
}

LoudnessRow MeasurePiece(const fs::path& path, const std::string& wavDir) {
  LoudnessRow row{path.filename().string(), {}, PieceTarget, {}};
  std::vector<uint8_t> midi;
  std::vector<float> pcm;
  if (!ReadBytes(path, midi, row.error) || !RenderMidi(midi, pcm, row.error)) return row;
  row.loudness = MeasureLoudness(pcm, 2, MidiSynth::SampleRate);
  KeepWave(wavDir, row.name, ToPcm16(pcm), MidiSynth::SampleRate, 2, row);
  return row;
}

LoudnessRow MeasureSong(const fs::path& path, const std::string& wavDir) {
  LoudnessRow row{path.filename().string(), {}, OpeningSongTarget, {}};
  std::vector<uint8_t> mp3;
  DecodedMp3 song;
  if (!ReadBytes(path, mp3, row.error) || !DecodeMp3(mp3, song, row.error)) return row;
  row.loudness = MeasureLoudness(song.samples, song.channels, song.sampleRate);
  KeepWave(wavDir, row.name, song.samples, song.sampleRate, song.channels, row);
  return row;
}

LoudnessRow MeasureEffect(const fs::path& path, const std::string& wavDir) {
  LoudnessRow row{path.filename().string(), {}, EffectTarget, {}};
  WaveData wave;
  if (!ReadWaveFile(path.string(), wave, row.error)) return row;
  const std::vector<float> played = PlayedEffect(wave, MidiSynth::SampleRate);
  row.loudness = MeasureLoudness(played, 2, MidiSynth::SampleRate);
  KeepWave(wavDir, row.name, ToPcm16(played), MidiSynth::SampleRate, 2, row);
  return row;
}

std::string Range(double low, double high) {
  char text[48];
  if (low <= -200) std::snprintf(text, sizeof text, "<= %g", high);
  else if (high >= 0) std::snprintf(text, sizeof text, ">= %g", low);
  else std::snprintf(text, sizeof text, "%g..%g", low, high);
  return text;
}

}  // namespace

std::vector<LoudnessRow> MeasurePieces(const std::string& gameDir, const std::string& wavDir) {
  std::vector<LoudnessRow> rows;
  for (int n = 0; n < 100; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "MIDIFILE%02d.MID", n);
    const fs::path path = fs::path(gameDir) / "Music" / name;
    if (!fs::exists(path)) break;  // the game counts up to the first gap too
    rows.push_back(MeasurePiece(path, wavDir));
  }
  return rows;
}

LoudnessRow MeasureOpeningSong(const std::string& gameDir, const std::string& wavDir) {
  return MeasureSong(fs::path(gameDir) / "Sounds" / "S99-OpeningSong.mp3", wavDir);
}

std::vector<LoudnessRow> MeasureEffects(const std::string& gameDir, const std::string& wavDir) {
  std::vector<LoudnessRow> rows;
  for (int n = 0; n < SoundNumberCount; ++n)
    if (const char* name = SoundFileName(n))
      rows.push_back(MeasureEffect(fs::path(gameDir) / "Sounds" / name, wavDir));
  return rows;
}

std::vector<LoudnessRow> MeasureGameDirectory(const std::string& gameDir, const std::string& wavDir) {
  if (!wavDir.empty()) {
    std::error_code ec;
    fs::create_directories(wavDir, ec);
  }
  std::vector<LoudnessRow> rows = MeasurePieces(gameDir, wavDir);
  rows.push_back(MeasureOpeningSong(gameDir, wavDir));
  for (LoudnessRow& row : MeasureEffects(gameDir, wavDir)) rows.push_back(std::move(row));
  return rows;
}

std::string FormatLoudnessTable(const std::vector<LoudnessRow>& rows) {
  std::string out = "name                          length    RMS dBFS  peak dBFS  target (RMS; peak)\n";
  char line[200];
  for (const LoudnessRow& r : rows) {
    const std::string target = (r.target.rmsLow <= -200 ? std::string("any")
                                                        : Range(r.target.rmsLow, r.target.rmsHigh)) +
                               "; " + Range(r.target.peakLow, r.target.peakHigh);
    if (!r.error.empty()) {
      std::snprintf(line, sizeof line, "%-28s  %s\n", r.name.c_str(), r.error.c_str());
    } else {
      const int minutes = static_cast<int>(r.loudness.seconds / 60);
      std::snprintf(line, sizeof line, "%-28s  %2d:%04.1f  %8.1f  %9.1f  %-20s %s\n", r.name.c_str(),
                    minutes, r.loudness.seconds - 60.0 * minutes, r.loudness.rmsDb, r.loudness.peakDb,
                    target.c_str(), r.Ok() ? "ok" : "MISSED");
    }
    out += line;
  }
  return out;
}
