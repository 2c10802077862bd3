#pragma once
// Opening and saving levels for the editor: FELD files byte for byte as the game reads
// them (the 40 trailing bytes kept) and the text form with its heading comments; the
// game's next free level number; a levels folder (and a solutions folder) of the
// player's own when the game's is read-only.
#include <memory>
#include <string>

#include "editor/level_document.h"

struct OpenedLevel {
  std::unique_ptr<LevelDocument> document;  // null when the file could not be opened
  // Why it could not be opened, or what the player should know about what was opened
  // (a damaged file); empty when all is well.
  std::string message;
};

// A name ending in ".txt" is the text form, anything else a FELD file; a recovery file
// (see SaveRecovery) opens as the level it belongs to, changed since it was saved. A FELD file
// shorter than 2200 bytes is damaged: it opens with its missing bytes as floor and
// counts as changed, so that saving it writes a whole level. Bytes past 2200 are not
// part of the level (the game never reads them) and are dropped when it is saved.
OpenedLevel OpenLevel(const std::string& path);

// Writes the document in its form to `path` whole or not at all. False with a message.
bool SaveLevelAs(const LevelDocument& document, const std::string& path, LevelForm form, std::string& error);
// The file's bytes as saved: the scrambled level, or the text form.
std::string LevelFileContents(const LevelDocument& document, LevelForm form);
// The form a file name implies.
LevelForm FormOfName(const std::string& path);

// "<dir>FELDS/FELD.nn" for the first number whose name is free; `gameDir` ends in '/'
// or is empty for the working directory.
std::string NextFreeLevelFile(const std::string& gameDir, int& number);
// Creates the next free FELD file with these bytes (never replacing anything, even when
// another program took the number meanwhile: the next one is tried). False with a message.
bool SaveAsNextLevel(const LevelDocument& document, const std::string& gameDir, std::string& path,
                     std::string& error);

// Where the unsaved changes of a level are kept when the editor is made to stop: the
// level's name with ".recovered", or NewLevel.recovered in the game directory (which
// ends in '/' or is empty) for a level that has no file yet. It holds the text form.
std::string RecoveryFileOf(const std::string& levelPath, const std::string& gameDir);
// Writes the document's recovery file (in the game directory when it cannot lie beside
// the level); `path` tells where. Never touches the level file. False with a message.
bool SaveRecovery(const LevelDocument& document, const std::string& gameDir, std::string& path,
                  std::string& error);
// A recovery file to offer: the level's own, or for no level the newest in the game
// directory, its levels folder and levels/. Empty when there is none.
std::string FindRecovery(const std::string& gameDir, const std::string& levelPath);

// The levels folder is a link to one the player cannot write (the installed levels).
bool LevelFolderIsSharedReadOnly(const std::string& gameDir);
// Replaces that link with a folder of the player's own holding copies of the levels, so
// the game plays those and new levels can be saved. The copies are made in a folder
// beside it, which then trades places with the link: killed at any moment, this leaves
// the link or the complete folder, and what a killed switch left beside them goes at the
// next one. False with a message; the link is left as it was then.
bool MakeOwnLevelFolder(const std::string& gameDir, std::string& error);
// The same for the folder of the levels' solutions beside it (Solutions), with copies
// of the solutions.
bool SolutionFolderIsSharedReadOnly(const std::string& gameDir);
bool MakeOwnSolutionFolder(const std::string& gameDir, std::string& error);
