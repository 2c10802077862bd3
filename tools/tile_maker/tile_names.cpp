#include "tile_maker/tile_names.h"

#include <cstdio>

const std::vector<TileName>& TileNames() {
  static const std::vector<TileName> names = {
      {0, "Floor"}, {1, "BrickSolid"}, {2, "Ant"}, {3, "Devil"}, {4, "Cow"}, {5, "Chigger"},
      {6, "Frog"}, {7, "Horse"}, {8, "Pig"}, {9, "AntP"}, {10, "DevilP"}, {11, "CowP"},
      {12, "FrogP"}, {13, "RandomP"}, {14, "HorseP"}, {15, "Heart"}, {16, "Health"},
      {17, "Bomb"}, {18, "Money"}, {19, "Key"}, {20, "Door"}, {21, "BrickEnemyTrans"},
      {22, "BrickShootable"}, {23, "Start"}, {24, "Finish"}, {25, "Player1"}, {26, "Player2"},
      {27, "P1Bullet4"}, {28, "P1Bullet2"}, {29, "P1Bullet1"}, {30, "P1Bullet3"}, {31, "FireP"},
      {32, "Star"}, {33, "PigP1"}, {34, "PigP2"}, {35, "PigP3"}, {36, "PigP4"}, {37, "PigP5"},
      {38, "DeathField"}, {39, "SlideFieldOmni"}, {40, "LaserSet1-5"}, {41, "LaserSet1-3"},
      {42, "Shield"}, {43, "DeathField(forEditor)"}, {44, "SlideRight(forEditor)"},
      {45, "SlideLeft(forEditor)"}, {46, "SlideUp(forEditor)"}, {47, "SlideDown(forEditor)"},
      {48, "SlideRight"}, {49, "SlideLeft"}, {50, "SlideUp"}, {51, "SlideDown"},
      {52, "LaserSet3P3"}, {53, "LaserSet3P5"}, {54, "LaserSet2P3"}, {55, "LaserSet2P5"},
      {56, "LaserSet1P3"}, {57, "LaserSet1P5"}, {58, "LaserSet4P3"}, {59, "LaserSet4P5"},
      {60, "Fire8"}, {61, "Fire2"}, {62, "Fire1"}, {63, "Fire7"}, {64, "Fire4"}, {65, "Fire6"},
      {66, "Fire5"}, {67, "Fire3"}, {68, "SlideFieldOmni(forEditor)"}, {80, "BrickSolid"},
      {81, "P1Bullet5"}, {82, "P1Bullet6"}, {83, "P1Bullet7"}, {84, "P1Bullet8"},
      {85, "P2Bullet1"}, {86, "P2Bullet2"}, {87, "P2Bullet3"}, {88, "P2Bullet4"},
      {89, "P2Bullet5"}, {90, "P2Bullet6"}, {91, "P2Bullet7"}, {92, "P2Bullet8"},
      {93, "LaserSet2-3"}, {94, "LaserSet2-5"}, {95, "LaserSet3-3"}, {96, "LaserSet3-5"},
      {97, "LaserSet4-3"}, {98, "LaserSet4-5"},
  };
  return names;
}

std::string TileFileName(const TileName& tile) {
  char prefix[8];
  std::snprintf(prefix, sizeof prefix, "%02d-", tile.code);
  return prefix + std::string(tile.name) + ".bmp";
}
