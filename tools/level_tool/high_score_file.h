#pragma once
// The starting high-score table, "HighScores.dat": a saved grid of text cells.
#include <optional>
#include <string>
#include <vector>

struct HighScoreGrid {
  int columns = 0;
  int rows = 0;
  std::vector<int> widths;                     // one per column
  std::vector<std::vector<std::string>> cell;  // [row][column]
};

// Fifteen made-up places under a heading row, as the game ships it.
HighScoreGrid StartingHighScores();
// The file text: "version1.0", dimensions, widths, twelve 20s, then length-prefixed
// cells row by row; CR LF line ends. Cell (0, 1) is set to the marker word.
std::string FormatHighScoreFile(HighScoreGrid grid);
// Reads that layout back; nothing on any deviation, with the reason in `error`.
std::optional<HighScoreGrid> ParseHighScoreFile(const std::string& text, std::string& error);
