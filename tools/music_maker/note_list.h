#pragma once
// Pieces of music written as readable note lists (*.tune):
//
//   tempo 150                             quarter notes per minute
//   meter 3/4                             beats in a bar and the note one beat is (4/4 if not given)
//   pattern riff                          a named run of notes, pasted in wherever $riff stands
//     a4/8 c5 e5 c5
//   track lead program 81 voice square volume 90 [channel 3] [pan 40] [reverb 60] [gate 60] [release 50]
//     c5/8 e5 g5/4.  r/8  c4+e4+g4/2  | bar lines are ignored
//     [ a4/8 c5 ]x4                       repeats, may nest and span lines
//     $riff $riff^5 $riff^-2              a pattern as written, or moved by semitones
//     !p c4/4 !f e4 g4> !96 c5            dynamics (pp p mp mf f ff, or a velocity); '>' accents one note
//   track drums channel 10 volume 100
//     [ kick/8 hat snare hat ]x8          drum names or n<key> on channel 10
//
// A duration (/1 /2 /4 /8 /16 /32; '.' dots it, 't' makes it a triplet, '*N' makes it N
// times as long: /8t, /4., /1*2) stays in force until the next one, and so does a
// dynamic; a pattern is pasted in as written, so what it sets stays in force after it
// too. pan and reverb are 0..127 (pan 64 is the middle); gate is how much of each note
// sounds, in percent (without it, all but a hair, so that a repeated key strikes again);
// release shortens the instrument's own fade after each note, in percent of it (a pad
// whose every note fades for seconds keeps dozens of voices busy in the synthesiser).
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

constexpr int TicksPerQuarter = 480;
constexpr int DefaultVelocity = 100;

enum class Voice { Square, Saw, Sine, Triangle, Drums };

struct NoteEvent {
  int start = 0;   // ticks
  int length = 0;  // ticks: the written note value
  int key = 60;    // MIDI key number
  int velocity = DefaultVelocity;
};

struct TuneTrack {
  std::string name;
  int channel = 0;  // 0-based; 9 is the drum channel
  int program = 0;  // 0-based General MIDI program
  int volume = 100;
  int pan = 64;
  int reverb = 40;
  int gate = 0;  // percent of each note that sounds; 0: all but a hair
  int release = 100;  // percent of the instrument's release time
  Voice voice = Voice::Square;
  std::vector<NoteEvent> notes;
  int length = 0;  // ticks, trailing rests included
};

struct Tune {
  int tempo = 120;
  int beatsPerBar = 4;
  int beatUnit = 4;  // 4: a beat is a quarter note, 8: an eighth
  std::vector<TuneTrack> tracks;
  int BarTicks() const { return TicksPerQuarter * 4 / beatUnit * beatsPerBar; }
  int LengthTicks() const;
  double Seconds() const;
};

// Thrown with "line N: reason".
class NoteListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

Tune ParseNoteList(std::string_view text);
