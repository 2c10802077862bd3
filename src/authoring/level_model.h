#pragma once
// The checker's picture of a level: the 5 x 5 rooms the game loads it into (the level in
// the middle 3 x 3, floor rooms around it), each cell reduced to what a player can do
// with it. Whatever is uncertain counts as a wall, so a level the search passes can be
// finished.
#include <array>
#include <cstdint>
#include <vector>

#include "authoring/cell_bits.h"
#include "authoring/level_text.h"
#include "world/world_grid.h"

// World cells are numbered row by row over the 100 x 60 cells of the grid.
constexpr int WorldWidth = GridRoomsAcross * GridRoomWidth;
constexpr int WorldHeight = GridRoomsDown * GridRoomHeight;
constexpr int WorldCellCount = WorldWidth * WorldHeight;
constexpr int LevelLeft = GridRoomWidth;  // level column 0 in world columns
constexpr int LevelTop = GridRoomHeight;
constexpr int GridRoomCount = GridRoomsAcross * GridRoomsDown;

constexpr int WorldIndex(int wx, int wy) { return wy * WorldWidth + wx; }
constexpr int WorldXOf(int i) { return i % WorldWidth; }
constexpr int WorldYOf(int i) { return i / WorldWidth; }
constexpr int RoomXOf(int i) { return WorldXOf(i) / GridRoomWidth; }
constexpr int RoomYOf(int i) { return WorldYOf(i) / GridRoomHeight; }
constexpr int RoomOf(int i) { return RoomYOf(i) * GridRoomsAcross + RoomXOf(i); }
constexpr int LocalXOf(int i) { return WorldXOf(i) % GridRoomWidth; }
constexpr int LocalYOf(int i) { return WorldYOf(i) % GridRoomHeight; }
constexpr int RoomCellIndex(int room, int x, int y) {
  return WorldIndex((room % GridRoomsAcross) * GridRoomWidth + x,
                    (room / GridRoomsAcross) * GridRoomHeight + y);
}

// The 60 cells round a room's edge as bits of a 64-bit mask: top row, bottom row, then
// the left and right columns between them.
constexpr int RoomEdgeCells = 2 * GridRoomWidth + 2 * (GridRoomHeight - 2);
constexpr int EdgeBitOf(int cell) {  // -1 inside the room
  const int x = LocalXOf(cell), y = LocalYOf(cell);
  if (y == 0) return x;
  if (y + 1 == GridRoomHeight) return GridRoomWidth + x;
  if (x == 0) return 2 * GridRoomWidth + y - 1;
  if (x + 1 == GridRoomWidth) return 2 * GridRoomWidth + GridRoomHeight - 2 + y - 1;
  return -1;
}
int EdgeCellOf(int room, int bit);

// The checker reads each code as the cell table says (`CellRow::check`).
using CellKind = CheckRole;

class LevelModel {
 public:
  explicit LevelModel(const LevelBytes& bytes);

  int Code(int cell) const { return code_[cell]; }
  CellKind Kind(int cell) const { return kind_[cell]; }
  bool InBeam(int cell) const { return beam_[cell]; }

  // Every Start in the loader's order; the first one counts. The players' cells are
  // -1 when the Start leaves no room for them.
  const std::vector<int>& Starts() const { return starts_; }
  int Start() const { return start_; }
  int Start1() const { return start1_; }
  int Start2() const { return start2_; }
  bool HasFinish() const { return hasFinish_; }

  // The cells the players change (collect, open, shoot, overwrite by arriving) are
  // the bits of a cleared set; each room's bits fill whole words of it.
  int Words() const { return words_; }
  int BitOf(int cell) const { return bitOf_[cell]; }
  int CellOfBit(int bit) const { return cellOfBit_[bit]; }
  int RoomFirstWord(int room) const { return roomWords_[room]; }
  int RoomWordCount(int room) const { return roomWords_[room + 1] - roomWords_[room]; }
  const Word* DoorMask() const { return doorMask_.data(); }
  // Shootable things and pigs of a room.
  const std::vector<int>& Targets(int room) const { return targets_[room]; }

  bool Cleared(const Word* cleared, int cell) const {
    const int bit = bitOf_[cell];
    return bit >= 0 && HasBit(cleared, bit);
  }
  bool Standable(const Word* cleared, int cell) const {
    const CellKind k = kind_[cell];
    return k == CellKind::Floor || k == CellKind::Item || k == CellKind::Key ||
           Cleared(cleared, cell);
  }
  bool LetsShotThrough(const Word* cleared, int cell) const {
    return kind_[cell] == CellKind::Floor || Cleared(cleared, cell);
  }
  // The arriving player overwrites the entry cell; landing where that loses something
  // the search counts on (a key, the Finish, a slide) is not relied on.
  bool LandingAllowed(const Word* cleared, int cell) const {
    const CellKind k = kind_[cell];
    if (k == CellKind::Finish || k == CellKind::Slide) return false;
    return k != CellKind::Key || Cleared(cleared, cell);
  }

  // Where a slide entered at `cell` walking in `dir` stops, or -1 when it is refused
  // (it would leave the room, runs in a circle or `cell` is no slide).
  int SlideEnd(int cell, int dir) const { return slideEnd_[cell * 8 + dir - 1]; }
  // The cells a player entering the slide at `cell` in `dir` passes, then where it stops.
  void SlidePath(int cell, int dir, std::vector<int>& path) const { FollowSlide(cell, dir, &path); }
  // The cell a player walking out of the room from `cell` in `dir` lands on, or -1
  // when there is no room that way.
  static int Landing(int cell, int dir);
  // The same, looked up.
  int LandingOf(int cell, int dir) const { return landing_[cell * 8 + dir - 1]; }
  // The next cell in `dir` within the room, or -1 at its edge.
  int Step(int cell, int dir) const { return step_[cell * 8 + dir - 1]; }

 private:
  void FindStarts();
  void MarkBeams();
  void IndexChangingCells();
  void FollowSlides();
  int FollowSlide(int cell, int dir, std::vector<int>* path) const;

  std::array<int16_t, WorldCellCount> code_{};
  std::array<CellKind, WorldCellCount> kind_{};
  std::array<bool, WorldCellCount> beam_{};
  std::vector<int> starts_;
  int start_ = -1, start1_ = -1, start2_ = -1;
  bool hasFinish_ = false;

  int words_ = 0;
  std::array<int16_t, WorldCellCount> bitOf_{};
  std::vector<int> cellOfBit_;
  std::array<int, GridRoomCount + 1> roomWords_{};
  std::vector<Word> doorMask_;
  std::array<std::vector<int>, GridRoomCount> targets_;
  std::vector<int16_t> slideEnd_;
  std::vector<int16_t> landing_;
  std::vector<int16_t> step_;
};
