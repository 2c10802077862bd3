#include "hard_levels/hard_level.h"

#include "world/cell_codes.h"

namespace {

uint64_t Scramble(uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// splitmix64: small, and fixed for all time. The seed is scrambled first, or
// neighbouring seeds would run the same sequence one draw apart.
class Dice {
 public:
  explicit Dice(uint32_t seed) : state_(Scramble(seed + 0x632BE59BD9B4E019ull)) {}
  uint32_t Below(uint32_t n) {
    return static_cast<uint32_t>(Scramble(state_ += 0x9E3779B97F4A7C15ull) % n);
  }

 private:
  uint64_t state_;
};

int At(int col, int row) { return row * LevelColumns + col; }

bool OnFrame(int col, int row) {
  return col == 0 || row == 0 || col + 1 == LevelColumns || row + 1 == LevelRows;
}

}  // namespace

LevelBytes MakeHardLevel(uint32_t seed, const HardLevelMix& mix) {
  Dice dice(seed);
  LevelBytes bytes{};
  const uint8_t arrows[] = {Cell::SlideRight, Cell::SlideLeft, Cell::SlideUp, Cell::SlideDown};
  for (int row = 0; row < LevelRows; ++row)
    for (int col = 0; col < LevelColumns; ++col) {
      uint8_t& cell = bytes[At(col, row)];
      if (OnFrame(col, row)) {
        cell = Cell::BrickSolid;
        continue;
      }
      int roll = static_cast<int>(dice.Below(100));
      cell = Cell::Floor;
      if ((roll -= mix.ice) < 0)
        cell = Cell::SlideFieldOmni;
      else if ((roll -= mix.arrows) < 0)
        cell = arrows[dice.Below(4)];
      else if ((roll -= mix.shootable) < 0)
        cell = Cell::BrickShootable;
      else if ((roll -= mix.keys) < 0)
        cell = Cell::Key;
      else if ((roll -= mix.doors) < 0)
        cell = Cell::Door;
    }
  // The Start somewhere the players fit beside it (columns 1..18 of its room).
  const int startCol = static_cast<int>(dice.Below(3)) * 20 + 1 + static_cast<int>(dice.Below(18));
  const int startRow = 1 + static_cast<int>(dice.Below(LevelRows - 2));
  bytes[At(startCol, startRow)] = Cell::Start;
  bytes[At(startCol - 1, startRow)] = bytes[At(startCol + 1, startRow)] = Cell::Floor;
  // The Finish in a ring of solid walls off its room's edges (a player crossing into a
  // room overwrites the edge cell it lands on) and away from the Start's row.
  int finishCol = 0, finishRow = 0;
  do {
    finishCol = static_cast<int>(dice.Below(3)) * 20 + 2 + static_cast<int>(dice.Below(16));
    finishRow = static_cast<int>(dice.Below(3)) * 12 + 2 + static_cast<int>(dice.Below(8));
  } while (finishRow >= startRow - 1 && finishRow <= startRow + 1);
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) bytes[At(finishCol + dx, finishRow + dy)] = Cell::BrickSolid;
  bytes[At(finishCol, finishRow)] = Cell::Finish;
  return bytes;
}
