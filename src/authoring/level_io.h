#pragma once
// Reading and writing levels in either form: a text source (*.txt) or a FELD file.
#include <string>
#include <vector>

#include "authoring/level_text.h"

struct LevelReadResult {
  bool ok = false;
  LevelBytes bytes{};
  std::string error;                  // one line, naming the file (and line and column)
  std::vector<std::string> warnings;  // e.g. a FELD file longer than 2200 bytes
};

bool WriteWholeFile(const std::string& path, const std::string& contents);

// Text when the name ends in ".txt", otherwise a scrambled FELD file.
bool IsLevelSourceName(const std::string& path);
// The text of a level source, without a byte-order mark; one larger than
// MaxLevelTextBytes is refused unread. False with a reason naming the file.
bool ReadLevelSource(const std::string& path, std::string& text, std::string& error);
LevelReadResult ReadLevelText(const std::string& path);
// Only the first 2200 bytes of a longer file count (with a warning); a shorter one is refused.
LevelReadResult ReadLevelFile(const std::string& path);
LevelReadResult ReadLevelAny(const std::string& path);

bool WriteLevelFile(const std::string& path, const LevelBytes& bytes, std::string& error);
