#pragma once
// Levels a piece at build time: renders it through the game's synthesiser, measures it
// and scales every channel's volume (controller 7) by one common factor until the piece
// sits on the pieces' target, keeping the balance between its parts as written.
#include <cstdint>
#include <string>
#include <vector>

#include "music_maker/loudness.h"
#include "music_maker/note_list.h"

// Where a piece is levelled to: the middle of the target's RMS range, or lower when its
// loudest moment would otherwise come too near the peak limit.
constexpr double PieceAimRmsDb = -18.0;
constexpr double PieceAimPeakDb = -3.5;

struct LevelledPiece {
  std::vector<uint8_t> midi;
  Loudness loudness;  // as measured, or as follows from the measurement and an exact scaling
  double gainDb = 0;  // what the volumes were scaled by
};

bool LevelPiece(const Tune& tune, LevelledPiece& out, std::string& error);
// Levels several pieces side by side, one per processor; `errors[i]` is empty when piece i
// was levelled.
void LevelPieces(const std::vector<Tune>& tunes, std::vector<LevelledPiece>& out,
                 std::vector<std::string>& errors);

// The opening song, rendered by our own synthesiser, is levelled by scaling its samples.
constexpr double OpeningAimRmsDb = -17.0;
constexpr double OpeningAimPeakDb = -2.0;  // the MP3 encoding may lift peaks a little
void LevelOpeningSong(std::vector<int16_t>& mono);
