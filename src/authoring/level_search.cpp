#include "authoring/level_search.h"

#include <algorithm>

#include "world/direction.h"

namespace {

template <class T>
std::size_t Held(const std::vector<T>& v) {
  return v.capacity() * sizeof(T);
}

}  // namespace

LevelSearch::LevelSearch(const LevelModel& model, bool team, int stateLimit, SearchMeter& meter)
    : m_(model),
      team_(team),
      stateLimit_(stateLimit),
      words_(model.Words()),
      closure_(model, team),
      meter_(meter),
      states_(model.Words(), model.DoorMask()),
      scratch_(static_cast<std::size_t>(model.Words()) * 3) {}

LevelSearch::~LevelSearch() { meter_.bytes -= countedBytes_; }

std::size_t LevelSearch::HeldBytes() const {
  return Held(nodes_) + states_.HeldBytes() + Held(summaries_) + Held(summaryKeys_) +
         Held(gains_) + Held(moves_) + recall_.HeldBytes() + Held(stack_) + Held(links_);
}

void LevelSearch::CountBytes() {
  const std::size_t now = HeldBytes();
  meter_.bytes = meter_.bytes - countedBytes_ + now;
  meter_.peakBytes = std::max(meter_.peakBytes, meter_.bytes);
  countedBytes_ = now;
}

bool LevelSearch::MustStop() {
  if (meter_.cancel && meter_.cancel->load(std::memory_order_relaxed)) {
    cancelled_ = stop_ = true;
  } else if (meter_.states >= ceiling_.states || meter_.bytes >= ceiling_.bytes) {
    outOfBudget_ = stop_ = true;
  }
  return stop_;
}

bool LevelSearch::StartsJoin() {
  std::fill(scratch_.begin(), scratch_.end(), 0);
  closure_.Run(m_.Start1(), scratch_.data());
  closureHolds_ = -1;
  return closure_.InStrong(m_.Start2());
}

void LevelSearch::Run(bool exhaustive, const SearchCeiling& ceiling) {
  exhaustive_ = exhaustive;
  keepLinks_ = exhaustive;
  startsJoined_ = StartsJoin();
  if (team_ && !startsJoined_) return;
  ceiling_ = ceiling;
  Arrival start;
  start.move.to = static_cast<int16_t>(m_.Start1());
  start.pos = m_.Start1();
  Reach(-1, start);
  Search(true, ceiling);
}

void LevelSearch::Exhaust(const SearchCeiling& ceiling) {
  if (exhaustive_) Search(false, ceiling);
}

void LevelSearch::Search(bool untilGoal, const SearchCeiling& ceiling) {
  ceiling_ = ceiling;
  while (!stack_.empty() && !stop_ && !(untilGoal && firstGoal_ >= 0)) {
    const int node = stack_.back();
    stack_.pop_back();
    Expand(node);
  }
}

void LevelSearch::Expand(int node) {
  const ClosureSummary s = Summary(node);
  const int keys = nodes_[node].keys;
  for (int i = 0; i < s.leavingCount && !stop_; ++i) {
    Arrival a;
    a.move = moves_[s.moveFirst + i];
    a.pos = a.move.to;
    a.keys = keys;
    Reach(node, a);
  }
  if (team_ && !stop_) PushTeamCrossings(node);
  if (keys <= 0) return;
  for (int i = 0; i < s.doorCount && !stop_; ++i) {
    Arrival a;
    a.move = moves_[s.moveFirst + s.leavingCount + i];
    a.pos = a.adds[0] = a.move.to;
    a.keys = keys - 1;
    // An open door next to the player joins what lies behind it to where it stands.
    if (a.move.from + DirDx[a.move.dir] + DirDy[a.move.dir] * WorldWidth == a.move.to)
      a.runFrom = s.canonical;
    Reach(node, a);
  }
}

int LevelSearch::Reach(int parent, const Arrival& a) {
  if (MustStop()) return -1;
  Word* cleared = scratch_.data();
  if (parent >= 0)
    std::copy_n(Cleared(parent), words_, cleared);
  else
    std::fill_n(cleared, words_, Word{0});
  for (const int cell : a.adds)
    if (cell >= 0 && m_.BitOf(cell) >= 0) SetBit(cleared, m_.BitOf(cell));
  // What the closure runs on, should its moves be needed after all.
  Word* arrived = scratch_.data() + 2 * static_cast<std::size_t>(words_);
  std::copy_n(cleared, words_, arrived);

  const int summary = Recall(a.runFrom >= 0 ? a.runFrom : a.pos, cleared);
  const ClosureSummary& s = summaries_[summary];
  Move taken = a.move;
  if (taken.type == MoveType::TeamCross) {
    const uint64_t joined = s.strongEdges & a.partnerEdges;
    if (!joined) return -1;  // the partner cannot join up again
    int bit = 0;
    while (!((joined >> bit) & 1u)) ++bit;
    const int partnerTo = EdgeCellOf(RoomOf(a.pos), bit);
    taken.partnerTo = static_cast<int16_t>(partnerTo);
    taken.partnerFrom = static_cast<int16_t>(m_.LandingOf(partnerTo, (taken.dir + 3) % 8 + 1));
  }
  for (uint32_t g = 0; g < s.gainCount; ++g) SetBit(cleared, gains_[s.gainFirst + g].bit);
  const int keys = a.keys + s.keysGained;

  const int dominator = states_.FindDominator(s.canonical, keys, cleared);
  if (dominator >= 0) {
    if (keepLinks_ && parent >= 0) links_.push_back({parent, dominator});
    return dominator;
  }
  if (stateCount_ >= stateLimit_) {
    ++stateCount_;
    gaveUp_ = stop_ = true;
    return -1;
  }
  if (summaries_[summary].moveFirst == ClosureSummary::NoMoves) KeepMoves(summary, arrived);
  AddNode(parent, a, taken, summary, cleared, keys);
  return static_cast<int>(nodes_.size()) - 1;
}

void LevelSearch::KeepMoves(int summary, const Word* cleared) {
  ClosureSummary& s = summaries_[summary];
  if (closureHolds_ != summary) {
    Word* work = scratch_.data() + words_;
    std::copy_n(cleared, words_, work);
    RunClosure(s.pos, work);
    closureHolds_ = summary;
  }
  leavingScratch_.clear();
  doorScratch_.clear();
  closure_.CommittingMoves(leavingScratch_, doorScratch_);
  s.moveFirst = static_cast<uint32_t>(moves_.size());
  s.leavingCount = static_cast<uint16_t>(leavingScratch_.size());
  s.doorCount = static_cast<uint16_t>(doorScratch_.size());
  moves_.insert(moves_.end(), leavingScratch_.begin(), leavingScratch_.end());
  moves_.insert(moves_.end(), doorScratch_.begin(), doorScratch_.end());
}

void LevelSearch::RunClosure(int from, Word* cleared) {
  closure_.Run(from, cleared);
  meter_.states += closure_.RoomsLookedAt();
}

void LevelSearch::AddNode(int parent, const Arrival& a, const Move& taken, int summary,
                          const Word* cleared, int keys) {
  const ClosureSummary& s = summaries_[summary];
  ++stateCount_;
  ++meter_.states;
  const int id = states_.Add(s.canonical, keys, cleared);
  SearchNode node;
  node.parent = parent;
  node.move = taken;
  node.pos = static_cast<int16_t>(a.pos);
  node.keys = static_cast<int16_t>(keys);
  node.summary = summary;
  node.goal = s.goal.from >= 0;
  nodes_.push_back(node);
  if (keepLinks_ && parent >= 0) links_.push_back({parent, id});
  if (node.goal && firstGoal_ < 0) {
    firstGoal_ = id;
    if (!exhaustive_) stop_ = true;
  }
  stack_.push_back(id);
  CountBytes();
}

// A team's closure never leaves its room, so it depends on the room's cleared cells
// only and is shared by every state that arrives there the same way.
int LevelSearch::Recall(int from, const Word* cleared) {
  const int first = team_ ? m_.RoomFirstWord(RoomOf(from)) : 0;
  const int count = team_ ? m_.RoomWordCount(RoomOf(from)) : words_;
  const uint64_t hash = HashWords(cleared + first, count, static_cast<uint64_t>(from));
  const int known = recall_.Find(hash, [&](int id) {
    const ClosureSummary& s = summaries_[id];
    return s.pos == from && SameWords(summaryKeys_.data() + s.keyFirst, cleared + first, count);
  });
  if (known >= 0) return known;

  Word* work = scratch_.data() + words_;
  std::copy_n(cleared, words_, work);
  RunClosure(from, work);
  ClosureSummary s;
  s.pos = static_cast<int16_t>(from);
  s.canonical = static_cast<int16_t>(closure_.Canonical());
  s.keysGained = static_cast<int16_t>(closure_.KeysGained());
  s.keyFirst = static_cast<uint32_t>(summaryKeys_.size());
  summaryKeys_.insert(summaryKeys_.end(), cleared + first, cleared + first + count);
  s.gainFirst = static_cast<uint32_t>(gains_.size());
  s.gainCount = static_cast<uint32_t>(closure_.Gains().size());
  gains_.insert(gains_.end(), closure_.Gains().begin(), closure_.Gains().end());
  s.goal = closure_.Goal();
  if (team_) s.strongEdges = closure_.StrongEdges(from);
  const int id = static_cast<int>(summaries_.size());
  summaries_.push_back(s);
  recall_.Insert(hash, id);
  closureHolds_ = id;
  CountBytes();
  return id;
}

std::vector<int> LevelSearch::GoalChain() const {
  std::vector<int> chain;
  for (int n = firstGoal_; n >= 0; n = nodes_[n].parent) chain.push_back(n);
  std::reverse(chain.begin(), chain.end());
  return chain;
}

std::vector<int> LevelSearch::DeadEnds() const {
  std::vector<int> ends;
  if (!keepLinks_ || gaveUp_ || outOfBudget_ || cancelled_ || nodes_.empty()) return ends;
  // Which nodes can still lead to the Finish: backwards from the goal nodes.
  const std::size_t n = nodes_.size();
  std::vector<int> start(n + 1, 0), from(links_.size());
  for (const auto& link : links_) ++start[link.second + 1];
  for (std::size_t i = 0; i < n; ++i) start[i + 1] += start[i];
  std::vector<int> fill(start.begin(), start.end() - 1);
  for (const auto& link : links_) from[fill[link.second]++] = link.first;
  std::vector<char> alive(n, 0);
  std::vector<int> queue;
  for (std::size_t i = 0; i < n; ++i)
    if (nodes_[i].goal) {
      alive[i] = 1;
      queue.push_back(static_cast<int>(i));
    }
  for (std::size_t q = 0; q < queue.size(); ++q)
    for (int k = start[queue[q]]; k < start[queue[q] + 1]; ++k)
      if (!alive[from[k]]) {
        alive[from[k]] = 1;
        queue.push_back(from[k]);
      }
  // The moves that lead from a hopeful state into a hopeless one.
  for (std::size_t i = 0; i < n; ++i) {
    if (alive[i]) continue;
    const int parent = nodes_[i].parent;
    if (parent < 0 || alive[parent]) ends.push_back(static_cast<int>(i));
  }
  return ends;
}
