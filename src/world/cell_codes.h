#pragma once
// Cell codes of the world grid; each is named after its tile picture.
#include <cstdint>

using CellCode = int16_t;

namespace Cell {
constexpr CellCode Floor = 0;
constexpr CellCode BrickSolid = 1;
constexpr CellCode Ant = 2;
constexpr CellCode Devil = 3;
constexpr CellCode Cow = 4;
constexpr CellCode Chigger = 5;
constexpr CellCode Frog = 6;
constexpr CellCode Horse = 7;
constexpr CellCode Pig = 8;
constexpr CellCode AntP = 9;
constexpr CellCode DevilP = 10;
constexpr CellCode CowP = 11;
constexpr CellCode FrogP = 12;
constexpr CellCode RandomP = 13;
constexpr CellCode HorseP = 14;
constexpr CellCode Heart = 15;
constexpr CellCode Health = 16;
constexpr CellCode Bomb = 17;
constexpr CellCode Money = 18;
constexpr CellCode Key = 19;
constexpr CellCode Door = 20;
constexpr CellCode BrickEnemyTrans = 21;
constexpr CellCode BrickShootable = 22;
constexpr CellCode Start = 23;
constexpr CellCode Finish = 24;
constexpr CellCode Player1 = 25;
constexpr CellCode Player2 = 26;
constexpr CellCode P1Bullet4 = 27;
constexpr CellCode P1Bullet2 = 28;
constexpr CellCode P1Bullet1 = 29;
constexpr CellCode P1Bullet3 = 30;
constexpr CellCode FireP = 31;
constexpr CellCode Star = 32;
constexpr CellCode PigP1 = 33;
constexpr CellCode PigP2 = 34;
constexpr CellCode PigP3 = 35;
constexpr CellCode PigP4 = 36;
constexpr CellCode PigP5 = 37;
constexpr CellCode DeathField = 38;
constexpr CellCode SlideFieldOmni = 39;
constexpr CellCode LaserSet1_5 = 40;
constexpr CellCode LaserSet1_3 = 41;
constexpr CellCode Shield = 42;
constexpr CellCode DeathFieldForEditor = 43;
constexpr CellCode SlideRightForEditor = 44;
constexpr CellCode SlideLeftForEditor = 45;
constexpr CellCode SlideUpForEditor = 46;
constexpr CellCode SlideDownForEditor = 47;
constexpr CellCode SlideRight = 48;
constexpr CellCode SlideLeft = 49;
constexpr CellCode SlideUp = 50;
constexpr CellCode SlideDown = 51;
constexpr CellCode LaserSet3P3 = 52;
constexpr CellCode LaserSet3P5 = 53;
constexpr CellCode LaserSet2P3 = 54;
constexpr CellCode LaserSet2P5 = 55;
constexpr CellCode LaserSet1P3 = 56;
constexpr CellCode LaserSet1P5 = 57;
constexpr CellCode LaserSet4P3 = 58;
constexpr CellCode LaserSet4P5 = 59;
constexpr CellCode Fire8 = 60;
constexpr CellCode Fire2 = 61;
constexpr CellCode Fire1 = 62;
constexpr CellCode Fire7 = 63;
constexpr CellCode Fire4 = 64;
constexpr CellCode Fire6 = 65;
constexpr CellCode Fire5 = 66;
constexpr CellCode Fire3 = 67;
constexpr CellCode SlideFieldOmniForEditor = 68;
constexpr CellCode Unknown = 78;  // every decoded level value above 77
constexpr CellCode BrickSolidEdge = 80;
constexpr CellCode P1Bullet5 = 81;
constexpr CellCode P1Bullet6 = 82;
constexpr CellCode P1Bullet7 = 83;
constexpr CellCode P1Bullet8 = 84;
constexpr CellCode P2Bullet1 = 85;
constexpr CellCode P2Bullet2 = 86;
constexpr CellCode P2Bullet3 = 87;
constexpr CellCode P2Bullet4 = 88;
constexpr CellCode P2Bullet5 = 89;
constexpr CellCode P2Bullet6 = 90;
constexpr CellCode P2Bullet7 = 91;
constexpr CellCode P2Bullet8 = 92;
constexpr CellCode LaserSet2_3 = 93;
constexpr CellCode LaserSet2_5 = 94;
constexpr CellCode LaserSet3_3 = 95;
constexpr CellCode LaserSet3_5 = 96;
constexpr CellCode LaserSet4_3 = 97;
constexpr CellCode LaserSet4_5 = 98;
}  // namespace Cell

// True for the codes that have a tile picture (0..68 and 80..98).
constexpr bool HasTilePicture(int code) {
  return (code >= 0 && code <= 68) || (code >= 80 && code <= 98);
}
