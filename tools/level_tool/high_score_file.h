#pragma once
// The starting high-score table, "HighScores.dat", as the game ships it.
#include <optional>
#include <string>

#include "screens/high_score_table.h"

using HighScoreGrid = HighScoreTable;

// Fifteen made-up places under a heading row, with the marker word in cell (0, 1).
HighScoreGrid StartingHighScores();
// The file text as the game writes it.
std::string FormatHighScoreFile(const HighScoreGrid& grid);
// Reads that layout back as the game does; nothing when refused, with the reason in `error`.
std::optional<HighScoreGrid> ParseHighScoreFile(const std::string& text, std::string& error);
