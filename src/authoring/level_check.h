#pragma once
// Proves that a level can be finished: a search over what players can do to the map
// (walk, collect keys, open doors, shoot obstacles away, slide, cross rooms), once for
// one player and once for two players who must cross room edges side by side.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "authoring/cell_wording.h"
#include "authoring/level_text.h"

// The verdict of a mode whose search ran out of the check's budget: the level may well be
// finishable, the checker cannot tell in reasonable time.
extern const char* const NotProvenText;  // "not proven: too many possibilities"

// What one whole check may spend: both modes and the search for dead ends together.
// Each mode may use half of it to prove its verdict; the team gets what the single
// player left, the dead ends what both left.
struct CheckBudget {
  // Search states: every state kept counts one, and working out where players get from
  // a state counts one for each room they could get into. The hardest levels spend this
  // in about a second (a release build); no mode keeps as many states as the default
  // state limit.
  long states = 40000;
  // What the searches may hold at once.
  std::size_t bytes = std::size_t{64} << 20;
};

struct CheckOptions {
  // Give up (and report it as an error) after this many distinct search states per mode.
  int stateLimit = 40000;
  CheckBudget budget;
  // Polled while searching: once set (from any thread) the check stops soon, and its
  // report says it was cancelled.
  const std::atomic<bool>* cancel = nullptr;
  // Fill the routes of the report.
  bool wantRoute = false;
  // Explore every state a single player can reach, to find the moves after which
  // the Finish is out of reach for good (reported as notes).
  bool findDeadEnds = true;
};

// How a route enters a cell.
enum class RouteStep : uint8_t { Start, Walk, Slide, Cross, Door, Finish };

// A cell of a route. Rooms are counted as in the level, (0,0) top left to (2,2); the
// floor rooms around the level, which an open boundary lets players into, are -1 and 3.
struct RouteCell {
  int roomX = 0, roomY = 0;
  int x = 0, y = 0;  // within the room
  RouteStep step = RouteStep::Walk;
  // Where the second player lands when two cross side by side (same room), else -1.
  int partnerX = -1, partnerY = -1;

  int LevelColumn() const { return roomX * 20 + x; }
  int LevelRow() const { return roomY * 12 + y; }
  bool operator==(const RouteCell&) const = default;
};

struct ModeResult {
  bool searched = false;
  bool reachable = false;
  bool gaveUp = false;  // the state limit was hit before an answer
  bool outOfBudget = false;  // the check's budget ran out before an answer
  int states = 0;
  // Why the players cannot be proved to finish, in the words of the report's first
  // error that concerns them; empty when they can.
  std::string failure;
  // The steps that prove it and the cells walked, from player 1's start cell to the
  // Finish, when wanted. A team's cells are those of the player who leads.
  std::vector<std::string> route;
  std::vector<RouteCell> path;
  // Moves after which the Finish can never be reached (only when searched for).
  std::vector<std::string> deadEnds;
};

struct CheckReport {
  std::vector<std::string> errors;  // the level is refused
  std::vector<std::string> notes;   // worth a look, not fatal
  std::string startInfo;            // where the Start is and whether both start cells work
  bool bothStartsUsable = false;
  ModeResult onePlayer;
  ModeResult twoPlayers;
  bool cancelled = false;  // stopped from outside: nothing above counts
  // What the searches spent of the budget, and the most they held at once.
  long statesSpent = 0;
  std::size_t peakBytes = 0;

  bool Ok() const {
    return errors.empty() && onePlayer.reachable && twoPlayers.reachable;
  }
  // Nothing is wrong with the level as far as the checker got, but a mode's search ran
  // out of budget.
  bool NotProven() const {
    return errors.empty() && (onePlayer.outOfBudget || twoPlayers.outOfBudget);
  }
};

CheckReport CheckLevel(const LevelBytes& bytes, const CheckOptions& options = {});

// For an editor: whether one player, and two players together, can finish the level,
// with the first reason when not and the route found when so.
struct Finishability {
  bool finishable = false;
  bool notProven = false;  // the budget ran out: `reason` is NotProvenText
  std::string reason;
  std::vector<RouteCell> route;
};

struct LevelFinishability {
  Finishability onePlayer;
  Finishability twoPlayers;
  bool cancelled = false;
};

LevelFinishability CheckFinishability(const LevelBytes& bytes, int stateLimit = 40000);
// The same with the budget and the cancel flag of `options` (routes are always traced,
// dead ends never looked for).
LevelFinishability CheckFinishability(const LevelBytes& bytes, const CheckOptions& options);
