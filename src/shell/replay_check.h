#pragma once
// Checking a replay against the real program: the game is played back headless, on
// virtual time, as fast as the machine allows, in the game directory of the working
// directory, and must end exactly as it was recorded.
#include <string>

struct ReplayCheckOutcome {
  // 0 verified, 1 the game went its own way, 2 it could not be checked.
  int status = 2;
  // "verified: level L, N passes, points P1/P2, final HASH", "desync at pass N:
  // expected HASH got HASH", or why it could not be checked.
  std::string line;
};

ReplayCheckOutcome CheckReplayFile(const std::string& path);
