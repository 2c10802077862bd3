#include "authoring/cell_wording.h"

#include "authoring/level_model.h"
#include "authoring/level_text.h"

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

const char* NameOfCode(int c) {
  switch (c) {
    case 0: return "Floor";
    case 1: return "wall";
    case 2: return "Ant";
    case 3: return "Devil";
    case 4: return "Cow";
    case 5: return "Chigger";
    case 6: return "Frog";
    case 7: return "Horse";
    case 8: return "Pig";
    case 9: return "Ant producer";
    case 10: return "Devil producer";
    case 11: return "Cow producer";
    case 12: return "Frog producer";
    case 13: return "random producer";
    case 14: return "Horse producer";
    case 15: return "Heart";
    case 16: return "health kit";
    case 17: return "bomb";
    case 18: return "gold";
    case 19: return "key";
    case 20: return "door";
    case 21: return "enemy-passable wall";
    case 22: return "shootable wall";
    case 23: return "Start";
    case 24: return "Finish";
    case 25: return "player 1 marker";
    case 26: return "player 2 marker";
    case 31: return "fire-dart producer";
    case 32: return "Star";
    case 33: case 34: case 35: case 36: return "pig producer";
    case 37: return "adult pig producer";
    case 38: return "death field";
    case 39: return "omni slide";
    case 40: case 41: return "laser beam";
    case 42: return "shield";
    case 48: return "slide right";
    case 49: return "slide left";
    case 50: return "slide up";
    case 51: return "slide down";
    case 80: return "edge wall";
    default: break;
  }
  if (c >= 52 && c <= 59) return "laser";
  if (c >= 60 && c <= 67) return "fire dart";
  return "object without a picture";
}

std::string DescribeCode(int c) {
  const char ch = (c >= 0 && c <= 255) ? LegendCharOf(static_cast<uint8_t>(c)) : 0;
  std::string s = NameOfCode(c);
  if (ch) s += std::string(" '") + ch + "'";
  return s;
}
