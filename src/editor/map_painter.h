#pragma once
// Draws the map: the cells in their pictures, the gaps between rooms with the crossings
// marked, and over them the route the checker found, the cells the rules name, a line
// or rectangle being drawn, the keyboard's cursor and a cell pointed out.
#include <cstdint>
#include <vector>

#include "authoring/level_text.h"
#include "base/image.h"
#include "editor/map_view.h"
#include "editor/editor_tiles.h"

struct MapOverlay {
  std::vector<int> route;  // level cells in the order walked; -1 breaks the line
  std::vector<int> errors, warnings;
  std::vector<int> preview;  // where a line or rectangle would paint
  uint8_t previewByte = 0;
  int cursor = -1;   // the keyboard's cell
  int pointed = -1;  // a cell pointed out from the side panel
};

// Gap colours: a crossing both ways, a crossing that lands on something (a wall, a
// door, ...) and overwrites it, and an opening in the level's outer wall.
inline constexpr Color GapColor{54, 34, 84};
inline constexpr Color CrossingColor{40, 210, 90};
inline constexpr Color OverwritingCrossingColor{255, 150, 0};
inline constexpr Color OpenOuterWallColor{235, 40, 40};
inline constexpr Color RouteColor{255, 230, 40};

void PaintMap(Image& out, const MapView& view, const LevelBytes& bytes, EditorTiles& tiles,
              const MapOverlay& overlay);

// Whether a player walks through a cell of this byte when crossing a room border.
bool CrossableByte(uint8_t byte);
