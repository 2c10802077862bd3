#pragma once
// The Replays folder of the game directory: every game is kept there under a name that
// tells when it was played, its first level and its player count. The newest games
// stay, and so does every game that finished a level, entered the high-score table or
// is kept for a bug report (a network game whose two machines went apart).
#include <string>

#include "replay/replay.h"
#include "replay/replay_file.h"

// Games kept besides those that finished a level or entered the table.
inline constexpr int ReplaysKept = 50;

// The file name a replay is kept under (without a folder), e.g.
// "2026-12-08_14-03-22_level05_2p_finished.trokreplay" ("_desync" for one kept for a
// report); `attempt` > 1 adds "-N" for a second game within the same second.
std::string ReplayFileName(const Replay& replay, bool highScore, int attempt = 1, bool forReport = false);

// Saves `replay` in `startDirectory`'s Replays folder (made when missing) and lets go of
// the oldest plain replays beyond ReplaysKept. The path saved, or empty with a reason.
std::string KeepReplay(const std::string& startDirectory, const Replay& replay, bool highScore,
                       std::string& error, bool forReport = false);
