#include "music_maker/music_set.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "music_maker/chip_synth.h"
#include "music_maker/mp3_encoder.h"
#include "music_maker/note_list.h"
#include "music_maker/piece_levels.h"
#include "music_maker/rate_halving.h"

namespace fs = std::filesystem;

namespace {

bool WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes, std::string& error) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    error = "cannot write " + path.string();
    return false;
  }
  return true;
}

}  // namespace

bool ReadTune(const std::string& path, Tune& tune, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  std::stringstream text;
  text << in.rdbuf();
  try {
    tune = ParseNoteList(text.str());
  } catch (const NoteListError& e) {
    error = path + ": " + e.what();
    return false;
  }
  return true;
}

bool MakeMusic(const std::string& assetsDir, const std::string& gameDir, std::string& error) {
  const fs::path source = fs::path(assetsDir) / "music";
  std::vector<fs::path> pieces;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(source, ec)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() == ".tune" && name.size() > 3 &&
        std::isdigit(static_cast<unsigned char>(name[0])) &&
        std::isdigit(static_cast<unsigned char>(name[1])) && name[2] == '-')
      pieces.push_back(entry.path());
  }
  if (ec) {
    error = "cannot list " + source.string() + ": " + ec.message();
    return false;
  }
  std::sort(pieces.begin(), pieces.end());
  fs::create_directories(fs::path(gameDir) / "Music");
  fs::create_directories(fs::path(gameDir) / "Sounds");
  std::vector<Tune> tunes(pieces.size());
  for (size_t i = 0; i < pieces.size(); ++i) {
    // The game stops counting at the first gap, so the numbers must run 00, 01, ...
    if (std::stoi(pieces[i].filename().string().substr(0, 2)) != static_cast<int>(i)) {
      error = pieces[i].string() + ": pieces must be numbered 00, 01, ... without gaps";
      return false;
    }
    if (!ReadTune(pieces[i].string(), tunes[i], error)) return false;
  }
  std::vector<LevelledPiece> levelled;
  std::vector<std::string> errors;
  LevelPieces(tunes, levelled, errors);
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (!errors[i].empty()) {
      error = pieces[i].string() + ": " + errors[i];
      return false;
    }
    char name[32];
    std::snprintf(name, sizeof name, "MIDIFILE%02d.MID", static_cast<int>(i % 100));
    std::printf("%s  %-26s %5.1f s  RMS %5.1f dBFS  peak %5.1f dBFS  volumes %+.1f dB\n", name,
                pieces[i].filename().string().c_str(), levelled[i].loudness.seconds,
                levelled[i].loudness.rmsDb, levelled[i].loudness.peakDb, levelled[i].gainDb);
    if (!WriteFile(fs::path(gameDir) / "Music" / name, levelled[i].midi, error)) return false;
  }

  Tune opening;
  if (!ReadTune((source / "opening.tune").string(), opening, error)) return false;
  std::vector<int16_t> song = HalveRate(RenderTune(opening, 2 * OpeningSongRate));
  LevelOpeningSong(song);
  std::vector<uint8_t> mp3;
  if (!EncodeMp3(song, OpeningSongRate, mp3, error)) return false;
  return WriteFile(fs::path(gameDir) / "Sounds" / "S99-OpeningSong.mp3", mp3, error);
}
