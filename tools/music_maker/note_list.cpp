#include "music_maker/note_list.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "music_maker/track_notes.h"

namespace {

struct SourceLine {
  int number;
  std::vector<std::string> words;
};

std::vector<SourceLine> SplitLines(std::string_view text) {
  std::vector<SourceLine> lines;
  std::istringstream in{std::string(text)};
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (const size_t hash = line.find('#'); hash != std::string::npos) {
      // '#' also marks sharps; a comment starts only at a '#' that follows a space.
      if (hash == 0 || std::isspace(static_cast<unsigned char>(line[hash - 1]))) line.erase(hash);
    }
    std::istringstream words(line);
    SourceLine source{number, {}};
    for (std::string w; words >> w;) source.words.push_back(w);
    if (!source.words.empty()) lines.push_back(std::move(source));
  }
  return lines;
}

bool IsHeader(const std::string& word) {
  return word == "tempo" || word == "meter" || word == "track" || word == "pattern";
}

// Every pattern's words, gathered first so that a track may paste a pattern written below it.
PatternBook CollectPatterns(const std::vector<SourceLine>& lines) {
  PatternBook book;
  std::vector<NoteWord>* body = nullptr;
  for (const SourceLine& line : lines) {
    if (line.words[0] == "pattern") {
      if (line.words.size() != 2) FailAt(line.number, "a pattern needs one name");
      const std::string& name = line.words[1];
      if (book.count(name)) FailAt(line.number, "pattern '" + name + "' is written twice");
      body = &book[name];
    } else if (IsHeader(line.words[0])) {
      body = nullptr;
    } else if (body) {
      for (const std::string& w : line.words) body->push_back({w, line.number});
    }
  }
  return book;
}

void ReadMeter(const SourceLine& line, Tune& tune) {
  const std::vector<std::string>& w = line.words;
  const size_t slash = w.size() == 2 ? w[1].find('/') : std::string::npos;
  if (slash == std::string::npos) FailAt(line.number, "a meter is written like 3/4");
  tune.beatsPerBar = ParseNumberAt(line.number, w[1].substr(0, slash), 1, 16, "the beats in a bar");
  tune.beatUnit = ParseNumberAt(line.number, w[1].substr(slash + 1), 2, 16, "the beat's note");
  if ((tune.beatUnit & (tune.beatUnit - 1)) != 0) FailAt(line.number, "the beat's note must be 2, 4, 8 or 16");
}

// The lowest channel no track has taken yet, leaving out the drum channel.
int FreeChannel(const std::vector<TuneTrack>& tracks, int line) {
  for (int c = 0; c < 16; ++c)
    if (c != 9 && std::none_of(tracks.begin(), tracks.end(), [c](const TuneTrack& t) { return t.channel == c; }))
      return c;
  FailAt(line, "no channel left for this track");
}

TuneTrack ReadTrackHeader(const SourceLine& line, const std::vector<TuneTrack>& earlier) {
  const std::vector<std::string>& words = line.words;
  const int n = line.number;
  if (words.size() < 2) FailAt(n, "a track needs a name");
  TuneTrack t;
  t.name = words[1];
  bool programSeen = false, channelSeen = false;
  for (size_t i = 2; i < words.size(); i += 2) {
    if (i + 1 >= words.size()) FailAt(n, "'" + words[i] + "' needs a value");
    const std::string& key = words[i];
    const std::string& value = words[i + 1];
    if (key == "program") {
      t.program = ParseNumberAt(n, value, 1, 128, "the program") - 1;
      programSeen = true;
    } else if (key == "channel") {
      t.channel = ParseNumberAt(n, value, 1, 16, "the channel") - 1;
      channelSeen = true;
    } else if (key == "volume") {
      t.volume = ParseNumberAt(n, value, 0, 127, "the volume");
    } else if (key == "pan") {
      t.pan = ParseNumberAt(n, value, 0, 127, "the pan");
    } else if (key == "reverb") {
      t.reverb = ParseNumberAt(n, value, 0, 127, "the reverb");
    } else if (key == "release") {
      t.release = ParseNumberAt(n, value, 5, 100, "the release");
    } else if (key == "gate") {
      t.gate = ParseNumberAt(n, value, 5, 100, "the gate");
    } else if (key == "voice") {
      if (value == "square") t.voice = Voice::Square;
      else if (value == "saw") t.voice = Voice::Saw;
      else if (value == "sine") t.voice = Voice::Sine;
      else if (value == "triangle") t.voice = Voice::Triangle;
      else FailAt(n, "unknown voice '" + value + "'");
    } else {
      FailAt(n, "unknown track setting '" + key + "'");
    }
  }
  if (t.channel == 9) t.voice = Voice::Drums;
  else if (!programSeen) FailAt(n, "a melodic track needs a program");
  if (!channelSeen) t.channel = FreeChannel(earlier, n);
  return t;
}

// Tracks on one channel share its controllers and its instrument, so they must agree.
void CheckSharedChannels(const std::vector<TuneTrack>& tracks, const std::vector<int>& headerLines) {
  for (size_t i = 0; i < tracks.size(); ++i)
    for (size_t j = 0; j < i; ++j) {
      const TuneTrack& a = tracks[i];
      const TuneTrack& b = tracks[j];
      if (a.channel != b.channel) continue;
      const std::string shares = "track '" + a.name + "' shares channel " + std::to_string(a.channel + 1) +
                                 " with track '" + b.name + "' but not its ";
      if (a.volume != b.volume || a.pan != b.pan || a.reverb != b.reverb || a.program != b.program)
        FailAt(headerLines[i], shares + "program, volume, pan and reverb");
      if (a.release != b.release) FailAt(headerLines[i], shares + "release");
    }
}

}  // namespace

int Tune::LengthTicks() const {
  int end = 0;
  for (const TuneTrack& t : tracks) {
    end = std::max(end, t.length);
    for (const NoteEvent& n : t.notes) end = std::max(end, n.start + n.length);
  }
  return end;
}

double Tune::Seconds() const { return LengthTicks() / double(TicksPerQuarter) * 60.0 / tempo; }

Tune ParseNoteList(std::string_view text) {
  const std::vector<SourceLine> lines = SplitLines(text);
  const PatternBook patterns = CollectPatterns(lines);
  Tune tune;
  tune.tracks.reserve(16);
  bool tempoSeen = false, inPattern = false;
  std::vector<TrackNotes> writers;
  std::vector<int> headerLines;
  for (const SourceLine& line : lines) {
    const std::string& head = line.words[0];
    if (IsHeader(head)) inPattern = false;
    if (head == "tempo") {
      if (line.words.size() != 2) FailAt(line.number, "tempo takes one number");
      tune.tempo = ParseNumberAt(line.number, line.words[1], 30, 300, "the tempo");
      tempoSeen = true;
    } else if (head == "meter") {
      ReadMeter(line, tune);
    } else if (head == "pattern") {
      inPattern = true;
    } else if (head == "track") {
      if (!writers.empty()) writers.back().Finish();
      if (tune.tracks.size() == 16) FailAt(line.number, "a piece has at most 16 tracks");
      tune.tracks.push_back(ReadTrackHeader(line, tune.tracks));
      headerLines.push_back(line.number);
      writers.emplace_back(tune.tracks.back(), patterns);
    } else if (!inPattern) {
      if (writers.empty()) FailAt(line.number, "notes before the first track");
      for (const std::string& w : line.words) writers.back().Add({w, line.number});
    }
  }
  if (!writers.empty()) writers.back().Finish();
  CheckSharedChannels(tune.tracks, headerLines);
  if (!tempoSeen) throw NoteListError("line 1: no tempo given");
  const int last = lines.empty() ? 1 : lines.back().number;
  if (tune.tracks.empty()) throw NoteListError("line " + std::to_string(last) + ": no tracks");
  return tune;
}
