#include "authoring/level_text.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <sstream>
#include <vector>

#include "world/cell_kinds.h"

namespace {

constexpr char UnknownChar = '?';

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string current;
  for (char c : text) {
    if (c == '\n') {
      if (!current.empty() && current.back() == '\r') current.pop_back();
      lines.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) {
    if (current.back() == '\r') current.pop_back();
    lines.push_back(current);
  }
  return lines;
}

bool IsBlank(const std::string& line) {
  for (char c : line)
    if (!std::isspace(static_cast<unsigned char>(c))) return false;
  return true;
}

bool IsComment(const std::string& line) {
  const auto first = line.find_first_not_of(" \t");
  return first != std::string::npos && line[first] == '#';
}

// Splits on blanks and records the 1-based column where each word starts.
struct Word {
  std::string text;
  int column;
};
std::vector<Word> Words(const std::string& line) {
  std::vector<Word> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    words.push_back({line.substr(start, i - start), static_cast<int>(start) + 1});
  }
  return words;
}

bool ParseDecimal(const std::string& s, int low, int high, int& out) {
  if (s.empty() || s.size() > 4) return false;
  int v = 0;
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    v = v * 10 + (c - '0');
  }
  if (v < low || v > high) return false;
  out = v;
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<LevelBytes> Fail(TextError& error, int line, int column, std::string message) {
  error.line = line;
  error.column = column;
  error.message = std::move(message);
  return std::nullopt;
}

}  // namespace

char LegendCharOf(uint8_t value) { return IsKnownCode(value) ? CellTable[value].legend : 0; }

int LegendValueOf(char c) {
  if (c == 0) return -1;
  for (const CellRow& row : CellTable)
    if (row.legend == c) return row.code;
  return -1;
}

std::string LegendMarkdown() {
  std::string out = "| Char | Code | Name | Kind |\n|---|---|---|---|\n";
  for (const CellRow& row : CellTable) {
    if (!row.legend) continue;
    const std::string ch = row.legend == '|' ? "\\|" : std::string(1, row.legend);
    out += "| `" + ch + "` | " + std::to_string(row.code) + " | " + row.name + " | " +
           ThingKindName(row.kind) + " |\n";
  }
  return out;
}

std::string TextError::Format(const std::string& sourceName) const {
  std::string out = sourceName.empty() ? "" : sourceName + ":";
  if (line > 0) {
    out += std::to_string(line) + ":";
    if (column > 0) out += std::to_string(column) + ":";
  }
  if (!out.empty()) out += " ";
  return out + message;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
  constexpr std::string_view Mark = "\xEF\xBB\xBF";
  return text.starts_with(Mark) ? text.substr(Mark.size()) : text;
}

std::optional<LevelBytes> ParseLevelText(std::string_view text, TextError& error) {
  const std::vector<std::string> lines = SplitLines(WithoutByteOrderMark(text));
  LevelBytes bytes{};
  const int count = static_cast<int>(lines.size());

  int i = 0;
  while (i < count && (IsBlank(lines[i]) || IsComment(lines[i]))) ++i;
  if (i >= count) return Fail(error, count, 0, "no map: expected a line 'map'");
  if (Words(lines[i]).size() != 1 || Words(lines[i])[0].text != "map")
    return Fail(error, i + 1, 1, "expected 'map' (comments start with '#')");
  ++i;

  // Where each '?' stands, to pair it with its cell line: line number of the map row.
  std::vector<int> unknownLine(LevelCellBytes, 0);
  const int firstMapLine = i + 1;
  for (int row = 0; row < LevelRows; ++row, ++i) {
    if (i >= count)
      return Fail(error, count, 0,
                  "the map ends after " + std::to_string(row) + " rows; it needs " +
                      std::to_string(LevelRows));
    const std::string& line = lines[i];
    if (line == "end")
      return Fail(error, i + 1, 1,
                  "'end' after " + std::to_string(row) + " map rows; the map needs " +
                      std::to_string(LevelRows));
    const int length = static_cast<int>(line.size());
    for (int col = 0; col < length && col < LevelColumns; ++col) {
      const char c = line[col];
      if (c == UnknownChar) {
        unknownLine[row * LevelColumns + col] = i + 1;
        continue;
      }
      const int v = LegendValueOf(c);
      if (v < 0) {
        std::string shown = std::isprint(static_cast<unsigned char>(c))
                                ? std::string("'") + c + "'"
                                : "byte " + std::to_string(static_cast<unsigned char>(c));
        return Fail(error, i + 1, col + 1, "unknown map character " + shown);
      }
      bytes[row * LevelColumns + col] = static_cast<uint8_t>(v);
    }
    if (length != LevelColumns)
      return Fail(error, i + 1, length < LevelColumns ? length + 1 : LevelColumns + 1,
                  "map row " + std::to_string(row) + " has " + std::to_string(length) +
                      " characters; every row needs " + std::to_string(LevelColumns));
  }
  if (i >= count || lines[i] != "end")
    return Fail(error, i < count ? i + 1 : count, 1,
                "expected 'end' after the " + std::to_string(LevelRows) + " map rows (line " +
                    std::to_string(firstMapLine) + " is the first)");
  ++i;

  std::map<int, int> cellLineOf;  // cell index -> line of its cell line
  bool haveTrailer = false;
  for (; i < count; ++i) {
    const std::string& line = lines[i];
    if (IsBlank(line) || IsComment(line)) continue;
    const std::vector<Word> w = Words(line);
    if (w[0].text == "cell") {
      if (w.size() != 4)
        return Fail(error, i + 1, 1, "a cell line is 'cell ROW COL VALUE'");
      int row = 0, col = 0, value = 0;
      if (!ParseDecimal(w[1].text, 0, LevelRows - 1, row))
        return Fail(error, i + 1, w[1].column,
                    "cell row must be 0.." + std::to_string(LevelRows - 1));
      if (!ParseDecimal(w[2].text, 0, LevelColumns - 1, col))
        return Fail(error, i + 1, w[2].column,
                    "cell column must be 0.." + std::to_string(LevelColumns - 1));
      if (!ParseDecimal(w[3].text, 0, 255, value))
        return Fail(error, i + 1, w[3].column, "cell value must be a byte, 0..255");
      const int index = row * LevelColumns + col;
      if (unknownLine[index] == 0)
        return Fail(error, i + 1, w[1].column,
                    "stray cell line: the map has no '?' at row " + std::to_string(row) +
                        " column " + std::to_string(col));
      if (auto seen = cellLineOf.find(index); seen != cellLineOf.end())
        return Fail(error, i + 1, w[1].column,
                    "duplicated cell line for row " + std::to_string(row) + " column " +
                        std::to_string(col) + " (first on line " +
                        std::to_string(seen->second) + ")");
      if (const char c = LegendCharOf(static_cast<uint8_t>(value)); c != 0)
        return Fail(error, i + 1, w[3].column,
                    "value " + std::to_string(value) + " has the map character '" + c +
                        "'; write it in the map instead");
      cellLineOf[index] = i + 1;
      bytes[index] = static_cast<uint8_t>(value);
    } else if (w[0].text == "trailer") {
      if (haveTrailer) return Fail(error, i + 1, 1, "a second trailer line");
      if (w.size() != LevelTrailerSize + 1)
        return Fail(error, i + 1, w.size() > 1 ? w.back().column : 1,
                    "the trailer needs " + std::to_string(LevelTrailerSize) +
                        " two-digit hex bytes, found " + std::to_string(w.size() - 1));
      for (int b = 0; b < LevelTrailerSize; ++b) {
        const Word& word = w[b + 1];
        const int hi = word.text.size() == 2 ? HexDigit(word.text[0]) : -1;
        const int lo = word.text.size() == 2 ? HexDigit(word.text[1]) : -1;
        if (hi < 0 || lo < 0)
          return Fail(error, i + 1, word.column,
                      "trailer byte " + std::to_string(b) + " is not two hex digits");
        bytes[LevelCellBytes + b] = static_cast<uint8_t>(hi * 16 + lo);
      }
      haveTrailer = true;
    } else if (w[0].text == "map" || w[0].text == "end") {
      return Fail(error, i + 1, 1, "only one map per file");
    } else {
      return Fail(error, i + 1, 1,
                  "unexpected line; after the map come only 'cell', 'trailer' and '#' lines");
    }
  }

  for (int index = 0; index < LevelCellBytes; ++index)
    if (unknownLine[index] != 0 && cellLineOf.count(index) == 0)
      return Fail(error, unknownLine[index], index % LevelColumns + 1,
                  "'?' at row " + std::to_string(index / LevelColumns) + " column " +
                      std::to_string(index % LevelColumns) + " has no cell line");
  return bytes;
}

std::string FormatLevelText(const LevelBytes& bytes, const std::string& comment) {
  std::ostringstream out;
  std::istringstream commentLines(comment);
  for (std::string line; std::getline(commentLines, line);)
    out << "#" << (line.empty() ? "" : " ") << line << "\n";
  out << "map\n";
  std::vector<int> unknown;
  for (int row = 0; row < LevelRows; ++row) {
    for (int col = 0; col < LevelColumns; ++col) {
      const int index = row * LevelColumns + col;
      const char c = LegendCharOf(bytes[index]);
      if (c == 0) unknown.push_back(index);
      out << (c == 0 ? UnknownChar : c);
    }
    out << "\n";
  }
  out << "end\n";
  for (int index : unknown)
    out << "cell " << index / LevelColumns << " " << index % LevelColumns << " "
        << static_cast<int>(bytes[index]) << "\n";
  bool trailerUsed = false;
  for (int b = 0; b < LevelTrailerSize; ++b) trailerUsed |= bytes[LevelCellBytes + b] != 0;
  if (trailerUsed) {
    out << "trailer";
    char hex[4];
    for (int b = 0; b < LevelTrailerSize; ++b) {
      std::snprintf(hex, sizeof hex, " %02X", bytes[LevelCellBytes + b]);
      out << hex;
    }
    out << "\n";
  }
  return out.str();
}

std::array<uint8_t, LevelFileSize> ScrambleLevel(const LevelBytes& bytes) {
  std::array<uint8_t, LevelFileSize> file = bytes;
  ScrambleLevelBytes(file.data(), file.size());
  return file;
}

LevelBytes UnscrambleLevel(const uint8_t* fileBytes) {
  LevelBytes bytes{};
  for (int n = 0; n < LevelFileSize; ++n) bytes[n] = fileBytes[n];
  ScrambleLevelBytes(bytes.data(), bytes.size());
  return bytes;
}
