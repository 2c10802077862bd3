#pragma once
// Measures over a set of levels for whoever designs them: how alike the rooms of
// different levels are, rooms that look like filler, and what threatens the players.
#include <string>
#include <vector>

#include "authoring/level_text.h"

constexpr int LevelRoomCount = 9;  // rooms of a level, numbered row by row: 3 * roomY + roomX

// How alike two rooms are as they stand (neither turned nor mirrored): of the cells that
// hold a wall or an object (anything but floor) in either room, the share that hold the
// same code in both. 0 when both rooms are bare floor.
double RoomShare(const LevelBytes& a, int roomA, const LevelBytes& b, int roomB);

struct RoomPair {
  int levelA = 0, roomA = 0;  // indices into the surveyed levels, and rooms
  int levelB = 0, roomB = 0;
  double share = 0;
};

// Every room of every level against every room of every other level; most alike first.
std::vector<RoomPair> AlikeRooms(const std::vector<LevelBytes>& levels);

// Cells inside the room's outer ring that hold a wall or an object.
int InnerCells(const LevelBytes& level, int room);

// An object (neither floor nor a kind of wall) that stands in all four corners of the
// room: on the mirror places (x, y), (19 - x, y), (x, 11 - y), (19 - x, 11 - y) with x
// below 5 and y below 4 (the outer ring counted); -1 when there is none.
int FourCornerCopy(const LevelBytes& level, int room);

struct ThreatCount {
  int creatures = 0;      // ants, devils, cows, chiggers, frogs, horses, pigs
  int producers = 0;      // of creatures, random ones and every stage of pig
  int dartProducers = 0;
  int lasers = 0;
  int mines = 0;          // death fields
  int Total() const { return creatures + producers + dartProducers + lasers + mines; }
};
ThreatCount CountThreats(const LevelBytes& level);

// Spearman's rank correlation of two series of the same length (ties share their mean
// rank); 0 when either series is constant or shorter than two.
double RankCorrelation(const std::vector<double>& x, const std::vector<double>& y);
