#pragma once
// How the checker names cells and what they hold in its messages.
#include <string>

// "row R col C (room X,Y)" for a level cell; cells of the floor rooms around the
// level are described by their grid room.
std::string DescribeWorldCell(int worldX, int worldY);
// The same for a cell of the checker's world (level_model.h).
std::string DescribeCell(int cell);
// "wall", "key", "Ant producer", ...
const char* NameOfCode(int code);
// The name and, when it has one, the map character: "wall '#'".
std::string DescribeCode(int code);
