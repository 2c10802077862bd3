// The cells of a found route: within each state's reach, the shortest walks to the keys
// it collects (and the cells it overwrites) and on to the move that leaves it.
#include <algorithm>

#include "authoring/search_route.h"
#include "world/direction.h"

namespace {

RouteCell ToRouteCell(int cell, RouteStep step) {
  RouteCell c;
  c.roomX = RoomXOf(cell) - 1;
  c.roomY = RoomYOf(cell) - 1;
  c.x = LocalXOf(cell);
  c.y = LocalYOf(cell);
  c.step = step;
  return c;
}

RouteStep Arrival(MoveType type) {
  switch (type) {
    case MoveType::Slide: return RouteStep::Slide;
    case MoveType::Cross: case MoveType::TeamCross: return RouteStep::Cross;
    case MoveType::OpenDoor: return RouteStep::Door;
    default: return RouteStep::Walk;
  }
}

class RouteTracer {
 public:
  explicit RouteTracer(const LevelSearch& search)
      : search_(search),
        m_(search.Model()),
        overwritten_(WorldCellCount, 0),
        entered_(WorldCellCount, 0),
        taken_(WorldCellCount, 0),
        how_(WorldCellCount),
        seen_(WorldCellCount, 0) {}

  std::vector<RouteCell> Trace();

 private:
  // A cell that only became floor because a player landed on it is walked onto once
  // the route has landed there.
  bool Walkable(const Word* cleared, int cell, bool strict) const {
    return m_.Standable(cleared, cell) && (!strict || !overwritten_[cell] || entered_[cell]);
  }
  // Landing on a key would destroy it: only once the route has picked it up.
  bool MayLand(const Word* cleared, int cell) const {
    return m_.LandingAllowed(cleared, cell) && (m_.Kind(cell) != CellKind::Key || taken_[cell]);
  }
  void MarkOverwritten(int cell) {
    const CellKind k = m_.Kind(cell);
    if (k != CellKind::Floor && k != CellKind::Item && k != CellKind::Key) overwritten_[cell] = 1;
  }
  bool WalkTo(const Word* cleared, int to, bool strict);
  void Append(const Move& move, RouteStep arrival);

  const LevelSearch& search_;
  const LevelModel& m_;
  std::vector<char> overwritten_, entered_, taken_;
  std::vector<Move> how_;
  std::vector<char> seen_;
  std::vector<int> queue_;
  std::vector<RouteCell> out_;
  int at_ = -1;
};

// The cells of one move: the slide it runs through, then where it ends.
void RouteTracer::Append(const Move& move, RouteStep arrival) {
  const int first = move.from + DirDx[move.dir] + DirDy[move.dir] * WorldWidth;
  const bool crosses = move.type == MoveType::Cross || move.type == MoveType::TeamCross;
  if (!crosses && first != move.to) {
    std::vector<int> cells;
    m_.SlidePath(first, move.dir, cells);
    for (std::size_t k = 0; k + 1 < cells.size(); ++k)
      out_.push_back(ToRouteCell(cells[k], RouteStep::Slide));
  }
  RouteCell c = ToRouteCell(move.to, arrival);
  if (crosses) entered_[move.to] = 1;
  if (!crosses && m_.Kind(move.to) == CellKind::Key) taken_[move.to] = 1;
  if (move.type == MoveType::TeamCross) {
    c.partnerX = LocalXOf(move.partnerTo);
    c.partnerY = LocalYOf(move.partnerTo);
    entered_[move.partnerTo] = 1;
  }
  out_.push_back(c);
  at_ = move.to;
}

// The shortest walk from where the route stands, over the moves the closure makes.
bool RouteTracer::WalkTo(const Word* cleared, int to, bool strict) {
  if (at_ == to) return true;
  std::fill(seen_.begin(), seen_.end(), 0);
  queue_.assign(1, at_);
  seen_[at_] = 1;
  for (std::size_t q = 0; q < queue_.size() && !seen_[to]; ++q) {
    const int u = queue_[q];
    for (int d = 1; d <= 8; ++d) {
      Move move{MoveType::Walk, static_cast<uint8_t>(d), static_cast<int16_t>(u), -1};
      if (WorldGrid::OutsideRoom(LocalXOf(u) + DirDx[d], LocalYOf(u) + DirDy[d])) {
        const int landing = m_.LandingOf(u, d);
        if (search_.Team() || landing < 0 || !MayLand(cleared, landing)) continue;
        move.type = MoveType::Cross;
        move.to = static_cast<int16_t>(landing);
      } else {
        const int t = u + DirDx[d] + DirDy[d] * WorldWidth;
        move.to = static_cast<int16_t>(t);
        if (!Walkable(cleared, t, strict)) {
          if (m_.Kind(t) != CellKind::Slide) continue;
          const int end = m_.SlideEnd(t, d);
          if (end < 0 || !Walkable(cleared, end, strict)) continue;
          move.type = MoveType::Slide;
          move.to = static_cast<int16_t>(end);
        }
      }
      if (seen_[move.to]) continue;
      seen_[move.to] = 1;
      how_[move.to] = move;
      queue_.push_back(move.to);
    }
  }
  if (!seen_[to]) return false;
  std::vector<Move> steps;
  for (int c = to; c != at_; c = how_[c].from) steps.push_back(how_[c]);
  std::reverse(steps.begin(), steps.end());
  for (const Move& step : steps) Append(step, Arrival(step.type));
  return true;
}

std::vector<RouteCell> RouteTracer::Trace() {
  const std::vector<int> chain = search_.GoalChain();
  if (chain.empty()) return out_;
  at_ = search_.Node(chain.front()).pos;
  out_.push_back(ToRouteCell(at_, RouteStep::Start));
  for (std::size_t k = 0; k < chain.size(); ++k) {
    const int node = chain[k];
    const ClosureSummary& s = search_.Summary(node);
    const Word* cleared = search_.Cleared(node);
    const Gain* gains = search_.Gains(s);
    for (uint32_t g = 0; g < s.gainCount; ++g)
      if (gains[g].how == GainKind::EnterOver) MarkOverwritten(m_.CellOfBit(gains[g].bit));
    auto walkTo = [&](int cell) {
      // Should the walk need a cell in an order the search did not spell out, the cells
      // as they end up are good enough to draw.
      if (!WalkTo(cleared, cell, true)) WalkTo(cleared, cell, false);
    };
    // Keys are picked up where they lie and cells the search let the player overwrite
    // are landed on, in the order the search counted on them.
    for (uint32_t g = 0; g < s.gainCount; ++g)
      if (gains[g].how == GainKind::Key || gains[g].how == GainKind::EnterOver)
        walkTo(m_.CellOfBit(gains[g].bit));
    const bool last = k + 1 == chain.size();
    const Move& next = last ? s.goal : search_.Node(chain[k + 1]).move;
    walkTo(next.from);
    if (next.type == MoveType::TeamCross) {
      MarkOverwritten(next.to);
      MarkOverwritten(next.partnerTo);
    }
    Append(next, last ? RouteStep::Finish : Arrival(next.type));
  }
  return out_;
}

}  // namespace

std::vector<RouteCell> TraceRoute(const LevelSearch& search) { return RouteTracer(search).Trace(); }
