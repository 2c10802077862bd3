#pragma once
// Everything a player can do from one spot without committing to anything: walk and
// slide about, collect keys and pick-ups, shoot what is in line, let pigs run into it,
// repeated until nothing more changes. What is left are the moves that commit: one-way
// moves out of the area the player can come back to, and doors.
#include <cstdint>
#include <vector>

#include "authoring/level_model.h"

enum class MoveType : uint8_t { Start, Walk, Slide, Cross, TeamCross, OpenDoor };

// One step of the search, in world cells. A slide runs from `from` in direction `dir`;
// opening a door walks (or slides) from `from` into the door at `to`.
struct Move {
  MoveType type = MoveType::Start;
  uint8_t dir = 0;
  int16_t from = -1, to = -1;
  int16_t partnerFrom = -1, partnerTo = -1;  // the second player of a team crossing
};

enum class GainKind : uint8_t { Item, Key, EnterOver, Shot, PigRanInto };

struct Gain {
  int16_t bit;  // of the cleared set
  GainKind how;
};

class ReachClosure {
 public:
  // A team never crosses a room edge inside a closure: two players leave a room only
  // side by side, which the search handles as a move of its own.
  ReachClosure(const LevelModel& model, bool team);

  // Grows `cleared` by everything the player standing at `pos` gets done.
  void Run(int pos, Word* cleared);

  // Results of the last run, valid until the next one.
  bool InReach(int cell) const { return reachStamp_[cell] == generation_; }
  bool InStrong(int cell) const { return strongStamp_[cell] == generation_; }
  int Canonical() const { return canonical_; }  // the smallest cell of the strong part
  const std::vector<Gain>& Gains() const { return gains_; }
  int KeysGained() const { return keysGained_; }
  // The work of the last run: for every pass over the reach, the rooms it spans.
  int RoomsLookedAt() const { return roomsLookedAt_; }
  // One-way moves out of the part the player can return to, and the doors it can open.
  void CommittingMoves(std::vector<Move>& leaving, std::vector<Move>& doors) const;
  // How the Finish is stepped onto (a Walk or Slide move), type Start when it is not.
  const Move& Goal() const { return goal_; }
  // Edge cells of the room of `pos` that belong to the strong part (EdgeBitOf).
  uint64_t StrongEdges(int pos) const;

 private:
  struct Edge {
    int from, to;
    MoveType type;
    uint8_t dir;
  };

  void Explore(int pos, const Word* cleared);
  void FindStrongPart(int pos, const Word* cleared);
  bool Collect(Word* cleared);
  bool ShootAndScare(Word* cleared);
  bool Hit(const Word* cleared, int target) const;
  void Clear(Word* cleared, int cell, GainKind how);

  const LevelModel& m_;
  bool team_;
  int generation_ = 0;
  std::vector<int> reachStamp_, strongStamp_, localId_;
  std::vector<int> queue_;   // the reach, in search order
  std::vector<Edge> edges_;  // slides and crossings; walking is the same both ways
  std::vector<Move> doors_;
  std::vector<int> inStart_, inFrom_, strong_;
  bool movesChanged_ = false;
  Move goal_;
  int canonical_ = -1;
  uint32_t strongRooms_ = 0;
  uint32_t reachRooms_ = 0;
  int roomsLookedAt_ = 0;
  std::vector<Gain> gains_;
  int keysGained_ = 0;
};
