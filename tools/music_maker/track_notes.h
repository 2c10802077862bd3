#pragma once
// Turns the words of one track of a note list into note events: notes, chords, rests,
// durations, repeats, dynamics and pasted patterns (see note_list.h for the language).
#include <map>
#include <string>
#include <vector>

#include "music_maker/note_list.h"

struct NoteWord {
  std::string text;
  int line = 0;  // where it was written, for error messages
};

using PatternBook = std::map<std::string, std::vector<NoteWord>>;

[[noreturn]] void FailAt(int line, const std::string& why);
int ParseNumberAt(int line, const std::string& text, int low, int high, const std::string& what);

class TrackNotes {
 public:
  TrackNotes(TuneTrack& track, const PatternBook& patterns) : track_(track), patterns_(patterns) {}
  void Add(const NoteWord& word) { Add(word, 0); }
  // Refuses a repeat left open at the end of the track.
  void Finish() const;

 private:
  struct Repeat {
    size_t firstNote;
    int startTick;
    int line;
  };
  void Add(const NoteWord& word, int transpose);
  void Paste(const NoteWord& word, int transpose);
  void CloseRepeat(const NoteWord& word);
  void SetDynamic(const NoteWord& word);
  void AddNotes(const NoteWord& word, int transpose);
  int ReadDuration(const std::string& text, int line) const;

  TuneTrack& track_;
  const PatternBook& patterns_;
  int cursor_ = 0;
  int duration_ = TicksPerQuarter;
  int velocity_ = DefaultVelocity;
  std::vector<Repeat> repeats_;
  std::vector<std::string> pasting_;  // patterns being pasted, innermost last
};
