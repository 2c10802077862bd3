#include "editor/map_view.h"

#include <algorithm>

#include "editor/level_cells.h"

namespace {

constexpr int ZoomSizes[] = {8, 12, 16, 24, 32};
constexpr int ZoomCount = 5;
constexpr int RoomViewSize = 32;

// Position within content of a run of cells split into rooms of `roomCells`.
int Along(int index, int size, int gap, int roomCells) {
  const int room = index >= 0 ? index / roomCells : -1;
  const int within = index - room * roomCells;
  return gap + room * (roomCells * size + gap) + within * size;
}

// The inverse: the index under content position `p`, or -1 in a gap or past the end.
int IndexAt(int p, int size, int gap, int roomCells, int rooms) {
  const int span = roomCells * size + gap;
  const int q = p - gap;
  if (q < 0) return -1;
  const int room = q / span, within = q % span;
  if (room >= rooms) return -1;
  if (within >= roomCells * size) return -1;
  return room * roomCells + within / size;
}

}  // namespace

MapView::MapView(int width, int height) : width_(width), height_(height) {}

int MapView::ContentWidth() const { return LevelColumns * cellSize_ + 4 * Gap(); }
int MapView::ContentHeight() const { return LevelRows * cellSize_ + 4 * Gap(); }

int MapView::OriginX() const {
  if (mode_ == MapMode::Room) {
    const int roomLeft = Along(roomX_ * GridRoomWidth, cellSize_, Gap(), GridRoomWidth);
    return (width_ - GridRoomWidth * cellSize_) / 2 - roomLeft;
  }
  return ContentWidth() <= width_ ? (width_ - ContentWidth()) / 2 : -scrollX_;
}

int MapView::OriginY() const {
  if (mode_ == MapMode::Room) {
    const int roomTop = Along(roomY_ * GridRoomHeight, cellSize_, Gap(), GridRoomHeight);
    return (height_ - GridRoomHeight * cellSize_) / 2 - roomTop;
  }
  return ContentHeight() <= height_ ? (height_ - ContentHeight()) / 2 : -scrollY_;
}

int MapView::ColumnX(int col) const { return OriginX() + Along(col, cellSize_, Gap(), GridRoomWidth); }
int MapView::RowY(int row) const { return OriginY() + Along(row, cellSize_, Gap(), GridRoomHeight); }

void MapView::ShowLevel() {
  if (mode_ == MapMode::Level) return;
  mode_ = MapMode::Level;
  cellSize_ = 12;
  ClampScroll();
}

void MapView::ShowRoom(int roomX, int roomY) {
  mode_ = MapMode::Room;
  cellSize_ = RoomViewSize;
  roomX_ = std::clamp(roomX, 0, LevelRoomsAcross - 1);
  roomY_ = std::clamp(roomY, 0, LevelRoomsDown - 1);
}

bool MapView::Zoom(int steps, int x, int y) {
  if (mode_ != MapMode::Level) return false;
  int index = 0;
  while (index + 1 < ZoomCount && ZoomSizes[index] < cellSize_) ++index;
  const int next = std::clamp(index + steps, 0, ZoomCount - 1);
  if (ZoomSizes[next] == cellSize_) return false;
  // The content point under (x, y), as a share of the content, stays under it.
  const double shareX = static_cast<double>(x - OriginX()) / ContentWidth();
  const double shareY = static_cast<double>(y - OriginY()) / ContentHeight();
  cellSize_ = ZoomSizes[next];
  scrollX_ = static_cast<int>(shareX * ContentWidth()) - x;
  scrollY_ = static_cast<int>(shareY * ContentHeight()) - y;
  ClampScroll();
  return true;
}

void MapView::ScrollBy(int dx, int dy) {
  if (mode_ != MapMode::Level) return;
  scrollX_ += dx;
  scrollY_ += dy;
  ClampScroll();
}

void MapView::ClampScroll() {
  scrollX_ = std::clamp(scrollX_, 0, std::max(0, ContentWidth() - width_));
  scrollY_ = std::clamp(scrollY_, 0, std::max(0, ContentHeight() - height_));
}

void MapView::Reveal(int cell) {
  if (cell < 0 || cell >= LevelCellCount) return;
  if (mode_ == MapMode::Room) {
    if (LevelRoomX(cell) != roomX_ || LevelRoomY(cell) != roomY_) ShowRoom(LevelRoomX(cell), LevelRoomY(cell));
    return;
  }
  const int x = ColumnX(ColumnOf(cell)), y = RowY(RowOf(cell));
  const int margin = cellSize_;
  if (x < margin) scrollX_ -= margin - x;
  if (x + cellSize_ > width_ - margin) scrollX_ += x + cellSize_ - (width_ - margin);
  if (y < margin) scrollY_ -= margin - y;
  if (y + cellSize_ > height_ - margin) scrollY_ += y + cellSize_ - (height_ - margin);
  ClampScroll();
}

bool MapView::Shown(int col, int row) const {
  if (!InLevel(col, row)) return false;
  if (mode_ == MapMode::Level) return true;
  const int x = col - roomX_ * GridRoomWidth, y = row - roomY_ * GridRoomHeight;
  return x >= -1 && x <= GridRoomWidth && y >= -1 && y <= GridRoomHeight;
}

bool MapView::IsNeighbourCell(int cell) const {
  return mode_ == MapMode::Room && (LevelRoomX(cell) != roomX_ || LevelRoomY(cell) != roomY_);
}

int MapView::CellAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
  const int col = IndexAt(x - OriginX(), cellSize_, Gap(), GridRoomWidth, LevelRoomsAcross);
  const int row = IndexAt(y - OriginY(), cellSize_, Gap(), GridRoomHeight, LevelRoomsDown);
  if (col < 0 || row < 0 || !Shown(col, row)) return -1;
  return ::CellAt(col, row);
}

bool MapView::CellOrigin(int cell, int& x, int& y) const {
  if (cell < 0 || cell >= LevelCellCount || !Shown(ColumnOf(cell), RowOf(cell))) return false;
  x = ColumnX(ColumnOf(cell));
  y = RowY(RowOf(cell));
  return x + cellSize_ > 0 && y + cellSize_ > 0 && x < width_ && y < height_;
}
