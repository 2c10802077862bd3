#pragma once
// Where the level's cells lie on the map: the whole level (60 x 36 cells, the rooms
// apart by a gap) at a cell size of 8 to 32 pixels, scrolled when it does not fit, or
// one room at the game's 32 pixels with a strip of each neighbouring room around it.
enum class MapMode { Level, Room };

class MapView {
 public:
  MapView(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  MapMode Mode() const { return mode_; }
  int CellSize() const { return cellSize_; }
  int Gap() const { return cellSize_ >= 12 ? 4 : 2; }
  int RoomX() const { return roomX_; }
  int RoomY() const { return roomY_; }

  void ShowLevel();
  void ShowRoom(int roomX, int roomY);
  // Zoom steps of the level view: 8, 12, 16, 24 and 32 pixels a cell; the point
  // (x, y) of the map keeps showing the same place. False when there is no further step.
  bool Zoom(int steps, int x, int y);
  void ScrollBy(int dx, int dy);
  // Brings the cell into view: scrolls the level view, or shows the cell's room.
  void Reveal(int cell);

  // The cell under a point of the map, or -1 (a gap, outside the level or the view).
  int CellAt(int x, int y) const;
  // Where a cell's top-left corner is drawn; false when the cell is not shown.
  bool CellOrigin(int cell, int& x, int& y) const;
  // Whether a shown cell is of a neighbouring room (drawn dimmed in the room view).
  bool IsNeighbourCell(int cell) const;
  // The content's top-left corner on the map.
  int OriginX() const;
  int OriginY() const;
  int ContentWidth() const;
  int ContentHeight() const;
  // Position of a level column or row on the map, gaps included.
  int ColumnX(int col) const;
  int RowY(int row) const;

 private:
  void ClampScroll();
  bool Shown(int col, int row) const;

  int width_, height_;
  MapMode mode_ = MapMode::Level;
  int cellSize_ = 12;
  int scrollX_ = 0, scrollY_ = 0;
  int roomX_ = 0, roomY_ = 0;
};
