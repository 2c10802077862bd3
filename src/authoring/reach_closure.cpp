#include "authoring/reach_closure.h"

#include <algorithm>
#include <bit>

namespace {

constexpr int Opposite(int d) { return (d + 3) % 8 + 1; }

}  // namespace

ReachClosure::ReachClosure(const LevelModel& model, bool team)
    : m_(model),
      team_(team),
      reachStamp_(WorldCellCount, 0),
      strongStamp_(WorldCellCount, 0),
      localId_(WorldCellCount, 0) {}

void ReachClosure::Run(int pos, Word* cleared) {
  gains_.clear();
  keysGained_ = 0;
  roomsLookedAt_ = 0;
  for (;;) {
    Explore(pos, cleared);
    roomsLookedAt_ += std::popcount(reachRooms_);
    FindStrongPart(pos, cleared);
    movesChanged_ = false;
    const bool collected = Collect(cleared);
    const bool shot = ShootAndScare(cleared);
    // Pick-ups taken where the player already walks change no move: the reach stands.
    if (!(collected || shot) || !movesChanged_) break;
  }
}

// Forward from `pos` over every move the player can make: the reach, in search order.
void ReachClosure::Explore(int pos, const Word* cleared) {
  ++generation_;
  queue_.clear();
  edges_.clear();
  doors_.clear();
  goal_ = Move{};
  reachRooms_ = 1u << RoomOf(pos);  // players change rooms only by crossing
  queue_.push_back(pos);
  reachStamp_[pos] = generation_;
  auto visit = [&](int cell) {
    if (reachStamp_[cell] == generation_) return;
    reachStamp_[cell] = generation_;
    queue_.push_back(cell);
  };
  for (std::size_t q = 0; q < queue_.size(); ++q) {
    const int u = queue_[q];
    for (int d = 1; d <= 8; ++d) {
      const int t = m_.Step(u, d);
      if (t < 0) {
        if (team_) continue;
        const int landing = m_.LandingOf(u, d);
        if (landing < 0 || !m_.LandingAllowed(cleared, landing)) continue;
        edges_.push_back({u, landing, MoveType::Cross, static_cast<uint8_t>(d)});
        reachRooms_ |= 1u << RoomOf(landing);
        visit(landing);
        continue;
      }
      if (m_.Standable(cleared, t)) {
        visit(t);
        continue;
      }
      int target = t;
      if (m_.Kind(t) == CellKind::Slide) {
        target = m_.SlideEnd(t, d);
        if (target < 0) continue;
        if (m_.Standable(cleared, target)) {
          edges_.push_back({u, target, MoveType::Slide, static_cast<uint8_t>(d)});
          visit(target);
          continue;
        }
      }
      if (m_.Kind(target) == CellKind::Door && !m_.Cleared(cleared, target))
        doors_.push_back({MoveType::OpenDoor, static_cast<uint8_t>(d), static_cast<int16_t>(u),
                          static_cast<int16_t>(target)});
      if (m_.Kind(target) == CellKind::Finish && goal_.from < 0)
        goal_ = {target == t ? MoveType::Walk : MoveType::Slide, static_cast<uint8_t>(d),
                 static_cast<int16_t>(u), static_cast<int16_t>(target)};
    }
  }
}

// The part of the reach from which `pos` can be reached again, found backwards. A step
// onto a cell a player can stand on can be walked back from any cell of the reach
// around it; slides and crossings are looked up among the recorded moves.
void ReachClosure::FindStrongPart(int pos, const Word* cleared) {
  const int n = static_cast<int>(queue_.size());
  for (int k = 0; k < n; ++k) localId_[queue_[k]] = k;
  inStart_.assign(n + 1, 0);
  for (const Edge& e : edges_) ++inStart_[localId_[e.to] + 1];
  for (int k = 0; k < n; ++k) inStart_[k + 1] += inStart_[k];
  inFrom_.resize(edges_.size());
  strong_.assign(inStart_.begin(), inStart_.end() - 1);  // where each list is filled
  for (const Edge& e : edges_) inFrom_[strong_[localId_[e.to]]++] = e.from;

  strong_.clear();
  strong_.push_back(pos);
  strongStamp_[pos] = generation_;
  canonical_ = pos;
  strongRooms_ = 0;
  auto add = [&](int cell) {
    if (strongStamp_[cell] == generation_) return;
    strongStamp_[cell] = generation_;
    canonical_ = std::min(canonical_, cell);
    strong_.push_back(cell);
  };
  for (std::size_t q = 0; q < strong_.size(); ++q) {
    const int v = strong_[q];
    strongRooms_ |= 1u << RoomOf(v);
    if (m_.Standable(cleared, v))
      for (int d = 1; d <= 8; ++d) {
        const int t = m_.Step(v, d);
        if (t >= 0 && InReach(t)) add(t);
      }
    const int id = localId_[v];
    for (int k = inStart_[id]; k < inStart_[id + 1]; ++k) add(inFrom_[k]);
  }
}

void ReachClosure::Clear(Word* cleared, int cell, GainKind how) {
  SetBit(cleared, m_.BitOf(cell));
  gains_.push_back({static_cast<int16_t>(m_.BitOf(cell)), how});
  if (how == GainKind::Key) ++keysGained_;
  // A key taken from a room's edge lets players land there.
  if (how != GainKind::Item && (how != GainKind::Key || EdgeBitOf(cell) >= 0))
    movesChanged_ = true;
}

// Whatever the player can walk onto and back from is picked up (or overwritten).
bool ReachClosure::Collect(Word* cleared) {
  bool changed = false;
  for (const int u : strong_) {
    const CellKind k = m_.Kind(u);
    if (k == CellKind::Floor || m_.BitOf(u) < 0 || m_.Cleared(cleared, u)) continue;
    Clear(cleared, u, k == CellKind::Key    ? GainKind::Key
                      : k == CellKind::Item ? GainKind::Item
                                            : GainKind::EnterOver);
    changed = true;
  }
  return changed;
}

// A shot flies from a cell of the strong part through free floor to the first thing in
// its way; looked at from the targets, which are few.
bool ReachClosure::Hit(const Word* cleared, int target) const {
  for (int d = 1; d <= 8; ++d)
    for (int c = m_.Step(target, Opposite(d)); c >= 0; c = m_.Step(c, Opposite(d))) {
      if (InStrong(c)) return true;
      if (!m_.LetsShotThrough(cleared, c)) break;
    }
  return false;
}

bool ReachClosure::ShootAndScare(Word* cleared) {
  bool changed = false;
  for (int room = 0; room < GridRoomCount; ++room) {
    if (!(strongRooms_ & (1u << room))) continue;
    for (const int t : m_.Targets(room)) {
      if (m_.Cleared(cleared, t)) continue;
      if (m_.Kind(t) == CellKind::Pig) {
        for (int d = 1; d <= 8; ++d)
          if (m_.Step(t, d) >= 0 && InStrong(m_.Step(t, d))) {
            Clear(cleared, t, GainKind::PigRanInto);
            changed = true;
            break;
          }
      } else if (Hit(cleared, t)) {
        Clear(cleared, t, GainKind::Shot);
        changed = true;
      }
    }
  }
  return changed;
}

// Walking never leaves the strong part once everything in it is taken (each step can
// be walked back), so what leaves it are slides and crossings.
void ReachClosure::CommittingMoves(std::vector<Move>& leaving, std::vector<Move>& doors) const {
  for (const Edge& e : edges_)
    if (InStrong(e.from) && !InStrong(e.to))
      leaving.push_back({e.type, e.dir, static_cast<int16_t>(e.from), static_cast<int16_t>(e.to)});
  for (const Move& door : doors_)
    if (InStrong(door.from)) doors.push_back(door);
}

uint64_t ReachClosure::StrongEdges(int pos) const {
  uint64_t mask = 0;
  const int room = RoomOf(pos);
  for (int bit = 0; bit < RoomEdgeCells; ++bit)
    if (InStrong(EdgeCellOf(room, bit))) mask |= uint64_t{1} << bit;
  return mask;
}
