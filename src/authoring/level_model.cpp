#include "authoring/level_model.h"

#include "world/cell_codes.h"
#include "world/direction.h"

namespace {

constexpr int SlideLimit = 2200;

bool IsLaserRight(int c) { return IsLaserFiring(c, Dir::Right); }
bool IsLaserDown(int c) { return IsLaserFiring(c, Dir::Down); }

CellKind KindOfCode(int c) { return CellRowOf(c).check; }

bool OnRoomEdge(int cell) {
  const int x = LocalXOf(cell), y = LocalYOf(cell);
  return x == 0 || y == 0 || x + 1 == GridRoomWidth || y + 1 == GridRoomHeight;
}

}  // namespace

int EdgeCellOf(int room, int bit) {
  const int side = GridRoomHeight - 2;
  if (bit < GridRoomWidth) return RoomCellIndex(room, bit, 0);
  if (bit < 2 * GridRoomWidth) return RoomCellIndex(room, bit - GridRoomWidth, GridRoomHeight - 1);
  if (bit < 2 * GridRoomWidth + side) return RoomCellIndex(room, 0, bit - 2 * GridRoomWidth + 1);
  return RoomCellIndex(room, GridRoomWidth - 1, bit - 2 * GridRoomWidth - side + 1);
}

LevelModel::LevelModel(const LevelBytes& bytes) {
  WorldGrid grid;  // the ring of floor rooms and its frame, as the game clears it
  for (int wy = 0; wy < WorldHeight; ++wy)
    for (int wx = 0; wx < WorldWidth; ++wx)
      code_[WorldIndex(wx, wy)] = grid.RoomCell(wx / GridRoomWidth, wy / GridRoomHeight,
                                                wx % GridRoomWidth, wy % GridRoomHeight);
  for (int n = 0; n < LevelCellBytes; ++n)
    code_[WorldIndex(LevelLeft + n % LevelColumns, LevelTop + n / LevelColumns)] =
        LevelValue(bytes[n]);
  for (int i = 0; i < WorldCellCount; ++i) {
    kind_[i] = KindOfCode(code_[i]);
    if (code_[i] == Cell::Finish) hasFinish_ = true;
  }
  MarkBeams();
  FindStarts();
  IndexChangingCells();
  FollowSlides();
}

// A beam overwrites its cell from time to time: a pick-up there can still be walked
// over between shots (a key there is not counted on), anything else is not relied on.
void LevelModel::MarkBeams() {
  for (int i = 0; i < WorldCellCount; ++i) {
    int target = -1;
    if (IsLaserRight(code_[i]) && LocalXOf(i) + 1 < GridRoomWidth) target = i + 1;
    if (IsLaserDown(code_[i]) && LocalYOf(i) + 1 < GridRoomHeight) target = i + WorldWidth;
    if (target < 0) continue;
    beam_[target] = true;
    const CellKind k = kind_[target];
    kind_[target] = k == CellKind::Floor                          ? CellKind::Floor
                    : (k == CellKind::Item || k == CellKind::Key) ? CellKind::Item
                                                                  : CellKind::Wall;
  }
}

void LevelModel::FindStarts() {
  // The loader's order: room row, room column, cell row, cell column.
  for (int room = 0; room < GridRoomCount; ++room)
    for (int y = 0; y < GridRoomHeight; ++y)
      for (int x = 0; x < GridRoomWidth; ++x) {
        const int i = RoomCellIndex(room, x, y);
        if (code_[i] == Cell::Start) starts_.push_back(i);
      }
  if (starts_.empty()) return;
  start_ = starts_.front();
  const int x = LocalXOf(start_);
  if (x < 1 || x + 1 >= GridRoomWidth) return;
  start1_ = start_ - 1;
  start2_ = start_ + 1;
  kind_[start1_] = kind_[start2_] = CellKind::Floor;  // the players stand there
}

// Cells that can change: pick-ups, keys, doors, what can be shot or run off, and every
// non-floor cell a player can land on when crossing into a room.
void LevelModel::IndexChangingCells() {
  std::array<bool, WorldCellCount> landable{};
  landing_.assign(static_cast<std::size_t>(WorldCellCount) * 8, -1);
  step_.assign(static_cast<std::size_t>(WorldCellCount) * 8, -1);
  for (int i = 0; i < WorldCellCount; ++i)
    for (int d = 1; d <= 8; ++d)
      if (!WorldGrid::OutsideRoom(LocalXOf(i) + DirDx[d], LocalYOf(i) + DirDy[d]))
        step_[i * 8 + d - 1] = static_cast<int16_t>(i + DirDx[d] + DirDy[d] * WorldWidth);
  for (int i = 0; i < WorldCellCount; ++i) {
    if (!OnRoomEdge(i)) continue;
    for (int d = 1; d <= 8; ++d) {
      if (!WorldGrid::OutsideRoom(LocalXOf(i) + DirDx[d], LocalYOf(i) + DirDy[d])) continue;
      const int landing = Landing(i, d);
      landing_[i * 8 + d - 1] = static_cast<int16_t>(landing);
      if (landing >= 0) landable[landing] = true;
    }
  }
  bitOf_.fill(-1);
  for (int room = 0; room < GridRoomCount; ++room) {
    roomWords_[room] = words_;
    int bit = words_ * 64;
    for (int y = 0; y < GridRoomHeight; ++y)
      for (int x = 0; x < GridRoomWidth; ++x) {
        const int i = RoomCellIndex(room, x, y);
        const CellKind k = kind_[i];
        const bool changes = k == CellKind::Item || k == CellKind::Key || k == CellKind::Door ||
                             k == CellKind::Shootable || k == CellKind::Pig ||
                             (landable[i] && k != CellKind::Floor && k != CellKind::Finish &&
                              k != CellKind::Slide);
        if (!changes) continue;
        bitOf_[i] = static_cast<int16_t>(bit++);
        if (k == CellKind::Shootable || k == CellKind::Pig) targets_[room].push_back(i);
      }
    words_ = (bit + 63) / 64;
  }
  roomWords_[GridRoomCount] = words_;
  cellOfBit_.assign(static_cast<std::size_t>(words_) * 64, -1);
  doorMask_.assign(words_, 0);
  for (int i = 0; i < WorldCellCount; ++i) {
    if (bitOf_[i] < 0) continue;
    cellOfBit_[bitOf_[i]] = i;
    if (kind_[i] == CellKind::Door) SetBit(doorMask_.data(), bitOf_[i]);
  }
}

void LevelModel::FollowSlides() {
  slideEnd_.assign(static_cast<std::size_t>(WorldCellCount) * 8, -1);
  for (int cell = 0; cell < WorldCellCount; ++cell)
    if (kind_[cell] == CellKind::Slide)
      for (int dir = 1; dir <= 8; ++dir)
        slideEnd_[cell * 8 + dir - 1] = static_cast<int16_t>(FollowSlide(cell, dir, nullptr));
}

int LevelModel::FollowSlide(int cell, int dir, std::vector<int>* path) const {
  const int room = RoomOf(cell);
  int x = LocalXOf(cell), y = LocalYOf(cell), e = dir;
  for (int examined = 0; examined < SlideLimit && !WorldGrid::OutsideRoom(x, y); ++examined) {
    const int i = RoomCellIndex(room, x, y);
    if (path) path->push_back(i);
    if (kind_[i] != CellKind::Slide) return i;
    if (const int turn = SlideDirectionOf(code_[i])) e = turn;
    x += DirDx[e];
    y += DirDy[e];
  }
  return -1;
}

int LevelModel::Landing(int cell, int dir) {
  const int x = LocalXOf(cell), y = LocalYOf(cell);
  const int w = GridRoomWidth, h = GridRoomHeight;
  const int leave = LeaveDirectionAt(x, y, dir);
  const int rx = RoomXOf(cell) + DirDx[leave], ry = RoomYOf(cell) + DirDy[leave];
  if (rx < 0 || ry < 0 || rx >= GridRoomsAcross || ry >= GridRoomsDown) return -1;
  int nx = x, ny = y;
  if (DirDx[leave] > 0) nx = 0;
  if (DirDx[leave] < 0) nx = w - 1;
  if (DirDy[leave] > 0) ny = 0;
  if (DirDy[leave] < 0) ny = h - 1;
  return WorldIndex(rx * w + nx, ry * h + ny);
}
