#include "screens/high_score_table.h"

#include <cctype>

#include "base/numbers.h"

namespace {

constexpr const char* Eol = "\r\n";
// Far beyond any real table; keeps a damaged header from asking for gigabytes.
constexpr std::size_t MaxCells = 1000000;

class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}
  void SkipSpace() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  std::string Word() {
    SkipSpace();
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    return text_.substr(start, pos_ - start);
  }
  bool Int(int& out) { return ParseInt(Word(), out); }
  // A cell's length prefix: plain digits right after any white space.
  bool Length(long& out) {
    SkipSpace();
    out = 0;
    std::size_t digits = 0;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
      out = out * 10 + (text_[pos_++] - '0');
      if (++digits > 6) return false;
    }
    return digits > 0;
  }
  bool Take(std::size_t n, std::string& out) {
    if (n > text_.size() - pos_) return false;
    out.assign(text_, pos_, n);
    pos_ += n;
    return true;
  }
  std::size_t Left() const { return text_.size() - pos_; }

 private:
  const std::string& text_;
  std::size_t pos_ = 0;
};

bool WholeNumber(const std::string& text) {
  int value = 0;
  return ParseInt(text, value);
}

}  // namespace

const std::string& HighScoreTable::At(int column, int row) const {
  static const std::string empty;
  if (row < 0 || row >= static_cast<int>(cell.size())) return empty;
  const auto& line = cell[row];
  if (column < 0 || column >= static_cast<int>(line.size())) return empty;
  return line[column];
}

void HighScoreTable::Resize(int newColumns, int newRows) {
  columns = newColumns;
  rows = newRows;
  widths.resize(columns, 64);
  cell.resize(rows);
  for (auto& line : cell) line.resize(columns);
}

void HighScoreTable::ClearPlaces() {
  for (std::size_t r = 1; r < cell.size(); ++r)
    for (auto& text : cell[r]) text.clear();
  Resize(columns, 2);
}

HighScoreParse ParseHighScores(const std::string& text, HighScoreTable& table,
                               const std::function<void()>& beforeRow) {
  Reader in(text);
  if (in.Word() != HighScoreVersion) return HighScoreParse::WrongVersion;
  int columns = 0, rows = 0;
  if (!in.Int(columns) || !in.Int(rows) || columns < 5 || rows < 2) return HighScoreParse::Damaged;
  // Every cell takes at least two characters ("0 "), which bounds the grid by the text.
  const std::size_t cells = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
  if (cells > in.Left() / 2 || cells > MaxCells) return HighScoreParse::Damaged;

  HighScoreTable read;
  read.columns = columns;
  read.rows = rows;
  read.widths.resize(columns);
  for (int& width : read.widths)
    if (!in.Int(width)) return HighScoreParse::Damaged;
  for (int i = 0; i < 12; ++i) {
    int skipped = 0;
    if (!in.Int(skipped)) return HighScoreParse::Damaged;
  }
  read.cell.assign(rows, std::vector<std::string>(columns));
  for (int r = 0; r < rows; ++r) {
    if (r % 5 == 0 && beforeRow) beforeRow();
    for (int c = 0; c < columns; ++c) {
      long length = 0;
      std::string separator;
      if (!in.Length(length) || length > HighScoreMaxCell || !in.Take(1, separator) ||
          !in.Take(static_cast<std::size_t>(length), read.cell[r][c]))
        return HighScoreParse::Damaged;
    }
    if (r > 0 && !(WholeNumber(read.cell[r][3]) && WholeNumber(read.cell[r][4])))
      return HighScoreParse::Damaged;
  }
  table = std::move(read);
  return HighScoreParse::Ok;
}

std::string FormatHighScores(const HighScoreTable& table, const std::function<void()>& beforeRow) {
  std::string out = std::string(HighScoreVersion) + Eol;
  out += std::to_string(table.columns) + " " + std::to_string(table.rows) + Eol;
  for (int c = 0; c < table.columns; ++c)
    out += std::to_string(c < static_cast<int>(table.widths.size()) ? table.widths[c] : 64) + " ";
  out += Eol;
  for (int i = 0; i < 12; ++i) out += i ? " 20" : "20";
  out += Eol;
  for (int r = 0; r < table.rows; ++r) {
    if (r % 5 == 0 && beforeRow) beforeRow();
    for (int c = 0; c < table.columns; ++c) {
      const std::string& text = table.At(c, r);
      out += std::to_string(text.size()) + " " + text + " ";
    }
    out += Eol;
  }
  return out;
}
