#pragma once
// The search over what players can change in a level: where they stand, which cells are
// cleared (keys and pick-ups taken, doors opened, things shot, entry cells overwritten)
// and how many keys they carry. One player crosses rooms freely; a team of two crosses
// only side by side (team_crossings.cpp). A node is a state after its closure; a state
// that stands where an earlier one stood, with the same doors open, no more done and no
// more keys, is not searched again.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "authoring/cell_bits.h"
#include "authoring/level_model.h"
#include "authoring/reach_closure.h"
#include "authoring/state_store.h"

struct SearchNode {
  int parent = -1;
  Move move;  // how the search got here from the parent
  int16_t pos = -1;
  int16_t keys = 0;
  int summary = -1;  // the closure it stands in
  bool goal = false;
};

// What a closure did and left to do; shared by every state that runs into the same one.
struct ClosureSummary {
  static constexpr uint32_t NoMoves = ~uint32_t{0};

  int16_t pos = -1;
  int16_t canonical = -1;
  int16_t keysGained = 0;
  uint32_t keyFirst = 0;  // the cleared words it was run on (all or the room's)
  uint32_t gainFirst = 0, gainCount = 0;
  // Kept only once a state stands in it: most closures end in states already known.
  uint32_t moveFirst = NoMoves;
  uint16_t leavingCount = 0, doorCount = 0;
  Move goal;
  uint64_t strongEdges = 0;
};

// What the searches of one check have spent, and the flag that cancels them.
struct SearchMeter {
  long states = 0;        // states kept, plus a room for each room a closure looked into
  std::size_t bytes = 0;  // held by the searches alive
  std::size_t peakBytes = 0;
  const std::atomic<bool>* cancel = nullptr;
};

// Where a search stops, in the meter's figures.
struct SearchCeiling {
  long states = 0;
  std::size_t bytes = 0;
};

class LevelSearch {
 public:
  LevelSearch(const LevelModel& model, bool team, int stateLimit, SearchMeter& meter);
  ~LevelSearch();
  LevelSearch(const LevelSearch&) = delete;
  LevelSearch& operator=(const LevelSearch&) = delete;

  // Searches until the Finish is found. With `exhaustive` it keeps the moves between
  // states and finishes the expansion it found the Finish in, so that Exhaust can go on
  // to every state, to find those after which it can no longer be reached.
  void Run(bool exhaustive, const SearchCeiling& ceiling);
  void Exhaust(const SearchCeiling& ceiling);

  bool Reachable() const { return firstGoal_ >= 0; }
  bool GaveUp() const { return gaveUp_; }
  // The ceiling stopped the search (in Run or in Exhaust).
  bool OutOfBudget() const { return outOfBudget_; }
  bool Cancelled() const { return cancelled_; }
  int States() const { return stateCount_; }
  // Whether player 2's start cell belongs to the place player 1 starts in.
  bool StartsJoined() const { return startsJoined_; }
  bool Team() const { return team_; }
  const LevelModel& Model() const { return m_; }

  // The nodes from the start to the first one found next to the Finish.
  std::vector<int> GoalChain() const;
  // Nodes reached by a move from a hopeful node after which the Finish is out of reach
  // for good (the start itself when it is hopeless); only after an exhaustive run.
  std::vector<int> DeadEnds() const;

  const SearchNode& Node(int id) const { return nodes_[id]; }
  const Word* Cleared(int node) const { return states_.Cleared(node); }
  const ClosureSummary& Summary(int node) const { return summaries_[nodes_[node].summary]; }
  const Gain* Gains(const ClosureSummary& s) const { return gains_.data() + s.gainFirst; }
  const Move* Moves(const ClosureSummary& s) const { return moves_.data() + s.moveFirst; }

 private:
  // A state to reach: where it stands after `move`, the cells the move itself clears
  // and the keys carried.
  struct Arrival {
    Move move;
    int pos = -1;
    // A cell of the same place to run the closure from, when the move keeps the player
    // within reach of where it was (then states arriving differently share it).
    int runFrom = -1;
    int adds[2] = {-1, -1};
    int keys = 0;
    // For a team crossing: the edge bits where the partner may land.
    uint64_t partnerEdges = ~uint64_t{0};
  };
  // Runs (or recalls) the state's closure and turns it into a node: a new one, or the
  // earlier one that is at least as good. -1 when a team crossing leaves the partner
  // cut off, or when the search has to stop.
  int Reach(int parent, const Arrival& arrival);
  int Recall(int from, const Word* cleared);
  void RunClosure(int from, Word* cleared);
  // Stores the summary's committing moves, running its closure again from `cleared`
  // (what it was run on) unless the closure still holds them.
  void KeepMoves(int summary, const Word* cleared);
  void AddNode(int parent, const Arrival& arrival, const Move& taken, int summary,
               const Word* cleared, int keys);
  void Expand(int node);
  void PushTeamCrossings(int node);
  bool StartsJoin();
  void Search(bool untilGoal, const SearchCeiling& ceiling);
  bool MustStop();
  std::size_t HeldBytes() const;
  void CountBytes();

  const LevelModel& m_;
  bool team_;
  int stateLimit_;
  int words_;
  ReachClosure closure_;
  SearchMeter& meter_;
  SearchCeiling ceiling_;
  std::size_t countedBytes_ = 0;
  int closureHolds_ = -1;  // the summary whose results the closure still holds

  std::vector<SearchNode> nodes_;
  StateStore states_;  // the nodes' cleared cells, by the same numbers

  std::vector<ClosureSummary> summaries_;
  std::vector<Word> summaryKeys_;
  std::vector<Gain> gains_;
  std::vector<Move> moves_;
  HashSlots recall_;

  std::vector<int> stack_;
  std::vector<std::pair<int, int>> links_;  // parent -> node, kept when exhaustive
  bool keepLinks_ = false;
  std::vector<Word> scratch_;
  std::vector<Move> leavingScratch_, doorScratch_;
  int firstGoal_ = -1;
  int stateCount_ = 0;
  bool gaveUp_ = false;
  bool outOfBudget_ = false;
  bool cancelled_ = false;
  bool stop_ = false;
  bool exhaustive_ = false;
  bool startsJoined_ = false;
};
