#pragma once
// The high-score table as a grid of text cells, and its file "HighScores.dat": the
// grid saved cell by cell with length prefixes, so names may hold spaces and the file
// carries its own dimensions and any extra columns.
#include <functional>
#include <string>
#include <vector>

inline constexpr const char* HighScoreVersion = "version1.0";
inline constexpr const char* HighScoreMarker = "pelvorin";
// The longest cell text the reader accepts.
inline constexpr int HighScoreMaxCell = 99999;

struct HighScoreTable {
  int columns = 0;
  int rows = 0;
  std::vector<int> widths;                     // one per column; kept, never shown
  std::vector<std::vector<std::string>> cell;  // [row][column]

  // Cell (column, row); an empty text outside the grid.
  const std::string& At(int column, int row) const;
  // Gives the grid these dimensions, keeping the cells that still fit.
  void Resize(int newColumns, int newRows);
  // Empties every ranked place and leaves row 0 and one place.
  void ClearPlaces();
};

enum class HighScoreParse { Ok, WrongVersion, Damaged };

// Reads the file text into `table` (untouched unless Ok). `beforeRow` runs before
// rows 0, 5, 10, … are read. A ranked place whose score or levels cell is not a whole
// number, fewer than five columns or two rows, and cells the text cannot hold are
// Damaged.
HighScoreParse ParseHighScores(const std::string& text, HighScoreTable& table,
                               const std::function<void()>& beforeRow = {});
// The file text with CR LF line ends; `beforeRow` runs before rows 0, 5, 10, ….
std::string FormatHighScores(const HighScoreTable& table,
                             const std::function<void()>& beforeRow = {});
