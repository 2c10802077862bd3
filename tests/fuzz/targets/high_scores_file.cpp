// HighScores.dat as a player may leave it: any text is loaded or refused whole, and a
// table that loads is written back and loads again unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "screens/high_score_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  HighScoreTable table;
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (ParseHighScores(text, table) != HighScoreParse::Ok) return 0;
  if (table.rows < 2 || table.columns < 5) std::abort();
  HighScoreTable again;
  if (ParseHighScores(FormatHighScores(table), again) != HighScoreParse::Ok) std::abort();
  if (again.cell != table.cell || again.widths != table.widths) std::abort();
  return 0;
}
