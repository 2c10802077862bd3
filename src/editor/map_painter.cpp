#include "editor/map_painter.h"

#include <algorithm>
#include <cstdlib>

#include "editor/level_cells.h"
#include "editor/paint_tools.h"
#include "world/cell_codes.h"

namespace {

constexpr Color MapBackground{1, 0, 51};
constexpr Color ErrorColor{255, 60, 60};
constexpr Color WarningColor{255, 200, 40};
constexpr Color CursorColor{255, 255, 255};

Color Blend(Color a, Color b, int percentB) {
  auto m = [percentB](uint8_t x, uint8_t y) { return static_cast<uint8_t>((x * (100 - percentB) + y * percentB) / 100); };
  return Color{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

void BlendRect(Image& img, int x, int y, int w, int h, Color c, int percent) {
  const int x0 = std::max(0, x), y0 = std::max(0, y);
  const int x1 = std::min(img.Width(), x + w), y1 = std::min(img.Height(), y + h);
  for (int py = y0; py < y1; ++py)
    for (int px = x0; px < x1; ++px) img.SetPixel(px, py, Blend(img.PixelColor(px, py), c, percent));
}

void FrameRect(Image& img, int x, int y, int w, int h, int t, Color c) {
  img.FillRect(x, y, w, t, c);
  img.FillRect(x, y + h - t, w, t, c);
  img.FillRect(x, y, t, h, c);
  img.FillRect(x + w - t, y, t, h, c);
}

void ThickLine(Image& img, int x0, int y0, int x1, int y1, int t, Color c) {
  WalkLine(x0, y0, x1, y1, [&](int x, int y) { img.FillRect(x - t / 2, y - t / 2, t, t, c); });
}

void PaintCells(Image& out, const MapView& view, const LevelBytes& bytes, EditorTiles& tiles) {
  const int s = view.CellSize();
  for (int cell = 0; cell < LevelCellCount; ++cell) {
    int x, y;
    if (!view.CellOrigin(cell, x, y)) continue;
    out.Blit(tiles.Cell(bytes[static_cast<size_t>(cell)], s), x, y);
    if (view.IsNeighbourCell(cell)) BlendRect(out, x, y, s, s, MapBackground, 55);
  }
}

// The gaps between rooms and round the level, with the crossings marked.
void PaintGaps(Image& out, const MapView& view, const LevelBytes& bytes) {
  const int s = view.CellSize(), g = view.Gap();
  out.FillRect(view.OriginX(), view.OriginY(), view.ContentWidth(), view.ContentHeight(), GapColor);
  auto mark = [&](int a, int b, int x, int y, int w, int h) {
    const bool ca = a >= 0 && CrossableByte(bytes[static_cast<size_t>(a)]);
    const bool cb = b >= 0 && CrossableByte(bytes[static_cast<size_t>(b)]);
    if (a < 0 || b < 0) {
      if (ca || cb) out.FillRect(x, y, w, h, OpenOuterWallColor);
    } else if (ca && cb) {
      out.FillRect(x, y, w, h, CrossingColor);
    } else if (ca || cb) {
      out.FillRect(x, y, w, h, OverwritingCrossingColor);
    }
  };
  // Borders between columns 19|20 and 39|40, and the outer sides.
  for (int row = 0; row < LevelRows; ++row) {
    const int y = view.RowY(row);
    for (int border = 0; border <= LevelRoomsAcross; ++border) {
      const int leftCol = border * GridRoomWidth - 1, rightCol = border * GridRoomWidth;
      const int a = leftCol >= 0 ? CellAt(leftCol, row) : -1;
      const int b = rightCol < LevelColumns ? CellAt(rightCol, row) : -1;
      const int x = rightCol < LevelColumns ? view.ColumnX(rightCol) - g : view.ColumnX(leftCol) + s;
      mark(a, b, x, y + 1, g, s - 2);
    }
  }
  for (int col = 0; col < LevelColumns; ++col) {
    const int x = view.ColumnX(col);
    for (int border = 0; border <= LevelRoomsDown; ++border) {
      const int topRow = border * GridRoomHeight - 1, bottomRow = border * GridRoomHeight;
      const int a = topRow >= 0 ? CellAt(col, topRow) : -1;
      const int b = bottomRow < LevelRows ? CellAt(col, bottomRow) : -1;
      const int y = bottomRow < LevelRows ? view.RowY(bottomRow) - g : view.RowY(topRow) + s;
      mark(a, b, x + 1, y, s - 2, g);
    }
  }
}

void PaintRoute(Image& out, const MapView& view, const std::vector<int>& route) {
  const int s = view.CellSize(), t = std::max(2, s / 6);
  int lastX = 0, lastY = 0, last = -1;
  for (int cell : route) {
    int x, y;
    if (cell < 0 || !view.CellOrigin(cell, x, y)) {
      last = -1;
      continue;
    }
    x += s / 2;
    y += s / 2;
    // A crossing joins the two sides of a gap; a jump elsewhere (a slide's end is
    // drawn cell by cell) only when neighbours.
    if (last >= 0 && std::abs(ColumnOf(cell) - ColumnOf(last)) <= 1 && std::abs(RowOf(cell) - RowOf(last)) <= 1)
      ThickLine(out, lastX, lastY, x, y, t, RouteColor);
    else
      out.FillRect(x - t, y - t, 2 * t, 2 * t, RouteColor);
    last = cell;
    lastX = x;
    lastY = y;
  }
}

void FrameCells(Image& out, const MapView& view, const std::vector<int>& cells, Color c, int thickness) {
  const int s = view.CellSize();
  for (int cell : cells) {
    int x, y;
    if (view.CellOrigin(cell, x, y)) FrameRect(out, x, y, s, s, thickness, c);
  }
}

}  // namespace

bool CrossableByte(uint8_t b) {
  return b == Cell::Floor || b == Cell::Health || b == Cell::Bomb || b == Cell::Money || b == Cell::Shield ||
         b == Cell::Key || b == Cell::Finish || b == Cell::SlideFieldOmni ||
         (b >= Cell::SlideRight && b <= Cell::SlideDown);
}

void PaintMap(Image& out, const MapView& view, const LevelBytes& bytes, EditorTiles& tiles,
              const MapOverlay& overlay) {
  if (out.Width() != view.Width() || out.Height() != view.Height()) out = Image(view.Width(), view.Height());
  out.Fill(MapBackground);
  const int s = view.CellSize();
  PaintGaps(out, view, bytes);
  PaintCells(out, view, bytes, tiles);
  PaintRoute(out, view, overlay.route);
  const int thin = std::max(1, s / 12);
  FrameCells(out, view, overlay.warnings, WarningColor, thin);
  FrameCells(out, view, overlay.errors, ErrorColor, thin + 1);
  for (int cell : overlay.preview) {
    int x, y;
    if (!view.CellOrigin(cell, x, y)) continue;
    out.Blit(tiles.Cell(overlay.previewByte, s), x, y);
    BlendRect(out, x, y, s, s, CursorColor, 30);
  }
  if (overlay.cursor >= 0) FrameCells(out, view, {overlay.cursor}, CursorColor, std::max(1, s / 10));
  if (overlay.pointed >= 0) {
    int x, y;
    if (view.CellOrigin(overlay.pointed, x, y)) FrameRect(out, x - 3, y - 3, s + 6, s + 6, 2, ErrorColor);
  }
}
