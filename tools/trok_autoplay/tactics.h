#pragma once
// What each player aims at now. One player, or the first of two who is still in play,
// leads: it takes the route's keys and doors in order and makes for the Finish as soon
// as one can be reached. The other follows close behind, keeps off the leader's way
// and its keys, and, when the leader's way crosses into the next room, lines up on
// the same edge so that both can step over together; a leader standing where the
// partner must pass to reach that edge steps along it and leaves the partner its exit.
#include <array>
#include <string>

#include "play/game.h"
#include "trok_autoplay/pilot.h"
#include "trok_autoplay/route_plan.h"

class Tactics {
 public:
  explicit Tactics(RoutePlan plan) : plan_(std::move(plan)) {}

  // Intents for player 1 and player 2.
  std::array<Intent, 2> Decide(const WorldMap& map, const Game& game);

  // Progress: goals of the plan done so far, and the cost of the leader's way on.
  int GoalsDone() const { return static_cast<int>(next_); }
  int CostLeft() const { return costLeft_; }
  // "key at room (1,0) cell (9,6)" or "finish".
  std::string GoalText() const;

 private:
  Intent Lead(const WorldMap& map, const PlayerState& me, const Dangers& dangers, int partner, Path& path);
  Intent Follow(const WorldMap& map, const PlayerState& me, const PlayerState& leader, const Path& leaderPath,
                const Dangers& dangers);

  RoutePlan plan_;
  std::size_t next_ = 0;
  bool finishInReach_ = false;
  int costLeft_ = -1;
  int room_ = -1, previousRoom_ = -1;
  // Cells the partner needs the leader to keep off (it lines up past the leader).
  std::vector<int> yieldWay_;
  // Where on the edge the leader steps aside to while the partner takes its exit
  // (-1: nowhere), and the way both cross from where they stand (0: none).
  int leaderTo_ = -1;
  int leaderCross_ = 0;
  // The cells the leader stood on in the current room, in order.
  std::vector<int> trail_;
  int trailOf_ = 0;
};

// The cell on the edge line of `exit` (left in `dir`) where a partner should stand to
// cross beside the leader, or -1: near `exit`, cheap for the partner to reach, and
// landing where the leader's landing can be walked to.
int PartnerCrossingCell(const WorldMap& map, int exit, int dir, int partnerCell, const PathRules& partnerRules);
