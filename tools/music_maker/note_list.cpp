#include "music_maker/note_list.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

namespace {

struct Fail {
  int line;
  [[noreturn]] void operator()(const std::string& why) const {
    throw NoteListError("line " + std::to_string(line) + ": " + why);
  }
};

int ParseNumber(const std::string& text, int low, int high, const Fail& fail,
                const std::string& what) {
  if (text.empty() || text.size() > 6 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
    fail(what + " must be a number, not '" + text + "'");
  const int value = std::stoi(text);
  if (value < low || value > high)
    fail(what + " must be " + std::to_string(low) + " to " + std::to_string(high));
  return value;
}

int DrumKey(const std::string& name) {
  static const std::map<std::string, int> drums = {
      {"kick", 36}, {"snare", 38}, {"clap", 39}, {"hat", 42}, {"ohat", 46}, {"crash", 49},
      {"ride", 51}, {"tom", 45},   {"htom", 50}, {"tamb", 54}};
  const auto it = drums.find(name);
  return it == drums.end() ? -1 : it->second;
}

// "c#5" -> 73; -1 when it is not a pitch.
int PitchKey(const std::string& text) {
  static const int steps[] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
  if (text.size() < 2) return -1;
  const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  if (letter < 'a' || letter > 'g') return -1;
  int key = steps[letter - 'a'];
  size_t i = 1;
  if (text[i] == '#') { ++key; ++i; }
  else if (text[i] == 'b' && i + 1 < text.size()) { --key; ++i; }
  if (i + 1 != text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return -1;
  return key + 12 * (text[i] - '0' + 1);
}

struct Repeat {
  size_t firstNote;
  int startTick;
  int line;
};

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
  Tune tune;
  bool tempoSeen = false;
  TuneTrack* track = nullptr;
  int cursor = 0;
  int duration = TicksPerQuarter;
  std::vector<Repeat> repeats;
  int lineNumber = 0;

  auto finishTrack = [&](const Fail& fail) {
    if (track && !repeats.empty())
      Fail{repeats.back().line}("'[' without a closing ']'");
    (void)fail;
  };

  std::istringstream in{std::string(text)};
  std::string line;
  while (std::getline(in, line)) {
    ++lineNumber;
    const Fail fail{lineNumber};
    if (const size_t hash = line.find('#'); hash != std::string::npos) {
      // '#' also marks sharps; a comment starts only at a '#' that follows a space.
      if (hash == 0 || std::isspace(static_cast<unsigned char>(line[hash - 1])))
        line.erase(hash);
    }
    std::istringstream words(line);
    std::vector<std::string> tokens;
    for (std::string w; words >> w;) tokens.push_back(w);
    if (tokens.empty()) continue;

    if (tokens[0] == "tempo") {
      if (tokens.size() != 2) fail("tempo takes one number");
      tune.tempo = ParseNumber(tokens[1], 30, 300, fail, "the tempo");
      tempoSeen = true;
      continue;
    }
    if (tokens[0] == "track") {
      finishTrack(fail);
      if (tokens.size() < 2) fail("a track needs a name");
      TuneTrack t;
      t.name = tokens[1];
      bool programSeen = false;
      for (size_t i = 2; i < tokens.size(); i += 2) {
        if (i + 1 >= tokens.size()) fail("'" + tokens[i] + "' needs a value");
        const std::string& key = tokens[i];
        const std::string& value = tokens[i + 1];
        if (key == "program") {
          t.program = ParseNumber(value, 1, 128, fail, "the program") - 1;
          programSeen = true;
        } else if (key == "channel") {
          t.channel = ParseNumber(value, 1, 16, fail, "the channel") - 1;
        } else if (key == "volume") {
          t.volume = ParseNumber(value, 0, 127, fail, "the volume");
        } else if (key == "voice") {
          if (value == "square") t.voice = Voice::Square;
          else if (value == "saw") t.voice = Voice::Saw;
          else if (value == "sine") t.voice = Voice::Sine;
          else if (value == "triangle") t.voice = Voice::Triangle;
          else fail("unknown voice '" + value + "'");
        } else {
          fail("unknown track setting '" + key + "'");
        }
      }
      if (t.channel == 9) t.voice = Voice::Drums;
      else if (!programSeen) fail("a melodic track needs a program");
      if (std::none_of(tokens.begin(), tokens.end(), [](const std::string& s) { return s == "channel"; }))
        t.channel = static_cast<int>(std::min<size_t>(tune.tracks.size(), 8));
      tune.tracks.push_back(t);
      track = &tune.tracks.back();
      cursor = 0;
      duration = TicksPerQuarter;
      continue;
    }
    if (!track) fail("notes before the first track");

    for (const std::string& token : tokens) {
      if (token == "|") continue;
      if (token == "[") {
        repeats.push_back({track->notes.size(), cursor, lineNumber});
        continue;
      }
      if (token[0] == ']') {
        if (repeats.empty()) fail("']' without '['");
        int times = 2;
        if (token.size() > 1) {
          if (token[1] != 'x') fail("a repeat ends with ']x' and a count, not '" + token + "'");
          times = ParseNumber(token.substr(2), 1, 64, fail, "the repeat count");
        }
        const Repeat r = repeats.back();
        repeats.pop_back();
        const int span = cursor - r.startTick;
        const size_t last = track->notes.size();
        for (int k = 1; k < times; ++k)
          for (size_t i = r.firstNote; i < last; ++i) {
            NoteEvent copy = track->notes[i];
            copy.start += span * k;
            track->notes.push_back(copy);
          }
        cursor += span * (times - 1);
        track->length = cursor;
        continue;
      }
      // pitch[+pitch...][/len[.]]
      std::string body = token;
      if (const size_t slash = token.find('/'); slash != std::string::npos) {
        body = token.substr(0, slash);
        std::string len = token.substr(slash + 1);
        bool dotted = false;
        if (!len.empty() && len.back() == '.') {
          dotted = true;
          len.pop_back();
        }
        const int denominator = ParseNumber(len, 1, 32, fail, "the duration");
        if ((denominator & (denominator - 1)) != 0) fail("the duration must be 1, 2, 4, 8, 16 or 32");
        duration = TicksPerQuarter * 4 / denominator;
        if (dotted) duration += duration / 2;
      }
      if (body != "r") {
        std::istringstream parts(body);
        std::string part;
        bool any = false;
        while (std::getline(parts, part, '+')) {
          int key = -1;
          if (track->voice == Voice::Drums) {
            key = DrumKey(part);
            if (key < 0 && part.size() > 1 && part[0] == 'n')
              key = ParseNumber(part.substr(1), 27, 87, fail, "the drum key");
          } else {
            key = PitchKey(part);
          }
          if (key < 0) fail("unknown note '" + part + "'");
          track->notes.push_back({cursor, duration, key, 100});
          any = true;
        }
        if (!any) fail("empty note '" + token + "'");
      }
      cursor += duration;
      track->length = cursor;
    }
  }
  finishTrack(Fail{lineNumber});
  if (!tempoSeen) throw NoteListError("line 1: no tempo given");
  if (tune.tracks.empty()) throw NoteListError("line " + std::to_string(lineNumber) + ": no tracks");
  return tune;
}
