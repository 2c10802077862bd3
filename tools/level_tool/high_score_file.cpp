#include "level_tool/high_score_file.h"

#include <cctype>

namespace {

constexpr const char* Version = "version1.0";
constexpr const char* MarkerWord = "pelvorin";
constexpr const char* Eol = "\r\n";

struct Place {
  const char* name;
  int score;
  int levels;
};

// Best first; the names are the game's own invented regulars.
constexpr Place Places[15] = {
    {"Mirel", 24850, 19},       {"Tamsin Oakhollow", 21300, 17}, {"Bruno", 18775, 15},
    {"Ada K.", 16420, 14},      {"Pip and Wren", 14190, 12},     {"Grisela", 12050, 11},
    {"Odo Fenwick", 10300, 9},  {"Lotta", 8640, 8},              {"Quill", 7125, 7},
    {"Hemmet", 5780, 6},        {"Sabine Roux", 4400, 5},        {"Nix", 3150, 4},
    {"Calloway", 2200, 3},      {"Dot", 1180, 2},                {"Newcomer", 500, 1},
};

class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}
  void SkipSpace() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  bool Word(std::string& out) {
    SkipSpace();
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    out = text_.substr(start, pos_ - start);
    return !out.empty();
  }
  bool Number(long& out) {
    std::string w;
    if (!Word(w) || w.size() > 9) return false;
    out = 0;
    for (char c : w) {
      if (!std::isdigit(static_cast<unsigned char>(c))) return false;
      out = out * 10 + (c - '0');
    }
    return true;
  }
  bool Take(std::size_t n, std::string& out) {
    if (pos_ + n > text_.size()) return false;
    out = text_.substr(pos_, n);
    pos_ += n;
    return true;
  }

 private:
  const std::string& text_;
  std::size_t pos_ = 0;
};

}  // namespace

HighScoreGrid StartingHighScores() {
  HighScoreGrid g;
  g.columns = 5;
  g.rows = 16;
  g.widths = {24, 48, 270, 175, 105};
  g.cell.assign(g.rows, std::vector<std::string>(g.columns));
  g.cell[0] = {"", "Rank", "Player Name", "Player Score", "Levels Passed"};
  for (int i = 0; i < 15; ++i) {
    auto& row = g.cell[i + 1];
    row[1] = std::to_string(i + 1);
    row[2] = Places[i].name;
    row[3] = std::to_string(Places[i].score);
    row[4] = std::to_string(Places[i].levels);
  }
  return g;
}

std::string FormatHighScoreFile(HighScoreGrid g) {
  if (g.rows > 1 && g.columns > 0) g.cell[1][0] = MarkerWord;
  std::string out = std::string(Version) + Eol;
  out += std::to_string(g.columns) + " " + std::to_string(g.rows) + Eol;
  for (int c = 0; c < g.columns; ++c) out += std::to_string(g.widths[c]) + " ";
  out += Eol;
  for (int i = 0; i < 12; ++i) out += i ? " 20" : "20";
  out += Eol;
  for (int r = 0; r < g.rows; ++r) {
    for (int c = 0; c < g.columns; ++c) {
      const std::string& t = g.cell[r][c];
      out += std::to_string(t.size()) + " " + t + " ";
    }
    out += Eol;
  }
  return out;
}

std::optional<HighScoreGrid> ParseHighScoreFile(const std::string& text, std::string& error) {
  Reader in(text);
  std::string word;
  if (!in.Word(word) || word != Version) {
    error = "the first word is not \"version1.0\"";
    return std::nullopt;
  }
  HighScoreGrid g;
  long columns = 0, rows = 0;
  if (!in.Number(columns) || !in.Number(rows) || columns < 1 || rows < 1 || columns > 1000 ||
      rows > 100000) {
    error = "bad column or row count";
    return std::nullopt;
  }
  g.columns = static_cast<int>(columns);
  g.rows = static_cast<int>(rows);
  for (int c = 0; c < g.columns; ++c) {
    long w = 0;
    if (!in.Number(w)) {
      error = "bad width of column " + std::to_string(c);
      return std::nullopt;
    }
    g.widths.push_back(static_cast<int>(w));
  }
  for (int i = 0; i < 12; ++i) {
    long skipped = 0;
    if (!in.Number(skipped)) {
      error = "missing one of the twelve skipped numbers";
      return std::nullopt;
    }
  }
  g.cell.assign(g.rows, std::vector<std::string>(g.columns));
  for (int r = 0; r < g.rows; ++r)
    for (int c = 0; c < g.columns; ++c) {
      long length = 0;
      std::string space;
      if (!in.Number(length) || !in.Take(1, space) || space != " " ||
          !in.Take(static_cast<std::size_t>(length), g.cell[r][c])) {
        error = "bad cell at row " + std::to_string(r) + " column " + std::to_string(c);
        return std::nullopt;
      }
    }
  return g;
}
