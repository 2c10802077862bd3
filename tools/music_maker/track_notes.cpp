#include "music_maker/track_notes.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

#include "music_maker/drum_names.h"

namespace {

constexpr int AccentLift = 20;

// "c#5" -> 73; -1 when it is not a pitch.
int PitchKey(const std::string& text) {
  static const int steps[] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
  if (text.size() < 2) return -1;
  const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  if (letter < 'a' || letter > 'g') return -1;
  int key = steps[letter - 'a'];
  size_t i = 1;
  if (text[i] == '#') {
    ++key;
    ++i;
  } else if (text[i] == 'b' && i + 1 < text.size()) {
    --key;
    ++i;
  }
  if (i + 1 != text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return -1;
  return key + 12 * (text[i] - '0' + 1);
}

}  // namespace

void FailAt(int line, const std::string& why) {
  throw NoteListError("line " + std::to_string(line) + ": " + why);
}

int ParseNumberAt(int line, const std::string& text, int low, int high, const std::string& what) {
  if (text.empty() || text.size() > 6 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
    FailAt(line, what + " must be a number, not '" + text + "'");
  const int value = std::stoi(text);
  if (value < low || value > high)
    FailAt(line, what + " must be " + std::to_string(low) + " to " + std::to_string(high));
  return value;
}

void TrackNotes::Finish() const {
  if (!repeats_.empty()) FailAt(repeats_.back().line, "'[' without a closing ']'");
}

void TrackNotes::Add(const NoteWord& word, int transpose) {
  const std::string& token = word.text;
  if (token == "|") return;
  if (token == "[") {
    repeats_.push_back({track_.notes.size(), cursor_, word.line});
  } else if (token[0] == ']') {
    CloseRepeat(word);
  } else if (token[0] == '$') {
    Paste(word, transpose);
  } else if (token[0] == '!') {
    SetDynamic(word);
  } else {
    AddNotes(word, transpose);
  }
}

void TrackNotes::Paste(const NoteWord& word, int transpose) {
  std::string name = word.text.substr(1);
  int shift = 0;
  if (const size_t caret = name.find('^'); caret != std::string::npos) {
    std::string amount = name.substr(caret + 1);
    name.erase(caret);
    const bool down = !amount.empty() && amount[0] == '-';
    if (!amount.empty() && (amount[0] == '-' || amount[0] == '+')) amount.erase(0, 1);
    shift = ParseNumberAt(word.line, amount, 0, 48, "the shift in semitones") * (down ? -1 : 1);
    if (track_.voice == Voice::Drums && shift != 0) FailAt(word.line, "drums cannot be moved by semitones");
  }
  const auto it = patterns_.find(name);
  if (it == patterns_.end()) FailAt(word.line, "no pattern '" + name + "'");
  if (std::find(pasting_.begin(), pasting_.end(), name) != pasting_.end())
    FailAt(word.line, "pattern '" + name + "' pastes itself");
  pasting_.push_back(name);
  for (const NoteWord& inner : it->second) Add(inner, transpose + shift);
  pasting_.pop_back();
}

void TrackNotes::CloseRepeat(const NoteWord& word) {
  const std::string& token = word.text;
  if (repeats_.empty()) FailAt(word.line, "']' without '['");
  int times = 2;
  if (token.size() > 1) {
    if (token[1] != 'x') FailAt(word.line, "a repeat ends with ']x' and a count, not '" + token + "'");
    times = ParseNumberAt(word.line, token.substr(2), 1, 64, "the repeat count");
  }
  const Repeat r = repeats_.back();
  repeats_.pop_back();
  const int span = cursor_ - r.startTick;
  const size_t last = track_.notes.size();
  for (int k = 1; k < times; ++k)
    for (size_t i = r.firstNote; i < last; ++i) {
      NoteEvent copy = track_.notes[i];
      copy.start += span * k;
      track_.notes.push_back(copy);
    }
  cursor_ += span * (times - 1);
  track_.length = cursor_;
}

void TrackNotes::SetDynamic(const NoteWord& word) {
  static const std::map<std::string, int> marks = {{"pp", 40}, {"p", 55},  {"mp", 70},
                                                   {"mf", 85}, {"f", 100}, {"ff", 115}};
  const std::string mark = word.text.substr(1);
  if (const auto it = marks.find(mark); it != marks.end()) {
    velocity_ = it->second;
  } else if (!mark.empty() && std::isdigit(static_cast<unsigned char>(mark[0]))) {
    velocity_ = ParseNumberAt(word.line, mark, 1, 127, "the velocity");
  } else {
    FailAt(word.line, "unknown dynamic '" + word.text + "'");
  }
}

// "/8", "/4.", "/8t" (a triplet eighth), "/1*3" (three whole notes): ticks.
int TrackNotes::ReadDuration(const std::string& text, int line) const {
  std::string len = text;
  int times = 1;
  if (const size_t star = len.find('*'); star != std::string::npos) {
    times = ParseNumberAt(line, len.substr(star + 1), 1, 256, "the length factor");
    len.erase(star);
  }
  const char mark = len.empty() ? '\0' : len.back();
  if (mark == '.' || mark == 't') len.pop_back();
  const int denominator = ParseNumberAt(line, len, 1, 32, "the duration");
  if ((denominator & (denominator - 1)) != 0) FailAt(line, "the duration must be 1, 2, 4, 8, 16 or 32");
  int ticks = TicksPerQuarter * 4 / denominator;
  if (mark == '.') ticks += ticks / 2;
  if (mark == 't') ticks = ticks * 2 / 3;
  return ticks * times;
}

// pitch[+pitch...][/duration][>]
void TrackNotes::AddNotes(const NoteWord& word, int transpose) {
  std::string body = word.text;
  int velocity = velocity_;
  if (body.size() > 1 && body.back() == '>') {
    body.pop_back();
    velocity = std::min(127, velocity + AccentLift);
  }
  if (const size_t slash = body.find('/'); slash != std::string::npos) {
    duration_ = ReadDuration(body.substr(slash + 1), word.line);
    body.erase(slash);
  }
  if (body != "r") {
    std::istringstream parts(body);
    std::string part;
    bool any = false;
    while (std::getline(parts, part, '+')) {
      int key = -1;
      if (track_.voice == Voice::Drums) {
        key = DrumKey(part);
        if (key < 0 && part.size() > 1 && part[0] == 'n')
          key = ParseNumberAt(word.line, part.substr(1), 27, 87, "the drum key");
      } else {
        key = PitchKey(part);
        if (key >= 0) key += transpose;
        if (key > 127 || (key < 0 && PitchKey(part) >= 0))
          FailAt(word.line, "note '" + part + "' moved out of range");
      }
      if (key < 0) FailAt(word.line, "unknown note '" + part + "'");
      track_.notes.push_back({cursor_, duration_, key, velocity});
      any = true;
    }
    if (!any) FailAt(word.line, "empty note '" + word.text + "'");
  }
  cursor_ += duration_;
  track_.length = cursor_;
}
