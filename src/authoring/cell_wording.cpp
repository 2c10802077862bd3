#include "authoring/cell_wording.h"

#include "authoring/level_model.h"
#include "authoring/level_text.h"
#include "world/cell_kinds.h"

std::string DescribeWorldCell(int worldX, int worldY) {
  const int col = worldX - LevelLeft, row = worldY - LevelTop;
  if (col >= 0 && row >= 0 && col < LevelColumns && row < LevelRows)
    return "row " + std::to_string(row) + " col " + std::to_string(col) + " (room " +
           std::to_string(col / GridRoomWidth) + "," + std::to_string(row / GridRoomHeight) +
           ")";
  return "outside the level (grid room " + std::to_string(worldX / GridRoomWidth) + "," +
         std::to_string(worldY / GridRoomHeight) + " cell " +
         std::to_string(worldX % GridRoomWidth) + "," + std::to_string(worldY % GridRoomHeight) +
         ")";
}

std::string DescribeCell(int cell) { return DescribeWorldCell(WorldXOf(cell), WorldYOf(cell)); }

const char* NameOfCode(int c) { return CellRowOf(c).wording; }

std::string DescribeCode(int c) {
  const char ch = (c >= 0 && c <= 255) ? LegendCharOf(static_cast<uint8_t>(c)) : 0;
  std::string s = NameOfCode(c);
  if (ch) s += std::string(" '") + ch + "'";
  return s;
}
