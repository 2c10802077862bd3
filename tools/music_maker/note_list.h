#pragma once
// Pieces of music written as readable note lists (*.tune):
//
//   tempo 150                                   beats (quarter notes) per minute
//   track lead program 81 voice square volume 90 [channel 3]
//     c5/8 e5 g5/4.  r/8  c4+e4+g4/2  | bar lines are ignored
//     [ a4/8 c5 ]x4                               repeats, may nest and span lines
//   track drums channel 10 volume 100
//     [ kick/8 hat snare hat ]x8                  drum names or n<key> on channel 10
//
// A duration (/1 /2 /4 /8 /16 /32, '.' for dotted) stays in force until the next one.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

constexpr int TicksPerQuarter = 480;

enum class Voice { Square, Saw, Sine, Triangle, Drums };

struct NoteEvent {
  int start = 0;   // ticks
  int length = 0;  // ticks
  int key = 60;    // MIDI key number
  int velocity = 100;
};

struct TuneTrack {
  std::string name;
  int channel = 0;  // 0-based; 9 is the drum channel
  int program = 0;  // 0-based General MIDI program
  int volume = 100;
  Voice voice = Voice::Square;
  std::vector<NoteEvent> notes;
  int length = 0;  // ticks, trailing rests included
};

struct Tune {
  int tempo = 120;
  std::vector<TuneTrack> tracks;
  int LengthTicks() const;
  double Seconds() const;
};

// Thrown with "line N: reason".
class NoteListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

Tune ParseNoteList(std::string_view text);
