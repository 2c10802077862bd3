#pragma once
// What every cell code means, one row per code: the one place to read or extend it.
// A new kind of thing is a new `ThingKind` (or `ScanMove`, `CheckRole`) value; the
// switches over these enums have no default branch and build with -Wswitch-enum, so
// the compiler names every place that must learn it.
#include <array>
#include <cstdint>

#include "world/cell_codes.h"
#include "world/direction.h"

enum class ThingKind : uint8_t {
  Floor,
  Wall,
  Creature,
  Producer,
  PickUp,
  Door,
  Key,
  Hazard,
  Slide,
  Laser,      // a laser's emitter
  LaserBeam,  // what it puts out, for a while
  Dart,
  Bullet,     // a player's shot in flight
  Player,
  Marker,     // start, finish and the editor's own pictures: lifeless in play
  Unused,     // no object: codes a level can decode to but nothing uses
};

// What the room scan does with a cell of the code on its turn.
enum class ScanMove : uint8_t {
  Still,
  Produce,        // a producer sends out its creature
  PigGrow,        // a piglet producer grows towards the adult
  ShootableWall,  // checks whether a shot hit it
  StarSpread,
  Chase,          // walks towards the nearest player
  Wander,
  FireDarts,
  Dart,           // flies on
  BeamOff,        // a beam goes out on its set's beat
  LaserFire,      // an emitter fires on its set's beat
};

// How the level checker and the autopilot treat the code.
enum class CheckRole : uint8_t {
  Floor,      // walkable and lets shots through
  Item,       // walkable pick-up; stops shots until collected
  Key,        // walkable; a key when collected
  Door,       // needs a key, then floor
  Finish,
  Slide,
  Deadly,     // death field or a standing beam: never entered
  Shootable,  // in the way until shot from a cell in line with it
  Pig,        // cannot be shot; it walks into a player standing next to it and is gone
  Wall,       // everything else, including what the search does not rely on
};

// What a player who steps onto the cell meets.
enum class Touch : uint8_t {
  Blocked,         // the player cannot step there
  Walk,
  HealthKit,       // picked up
  Bomb,
  Gold,
  Key,
  Shield,
  Door,            // opens with a key, else the player steps back
  Finish,
  Slide,           // carries the player on
  Hurts,           // death field or beam: the player steps back, hurt
  EatPigProducer,  // eaten for points; the player stands on it
};

// What a player's shot does on reaching the cell.
enum class ShotEffect : uint8_t {
  Flies,     // floor: the shot flies on
  Stops,     // stops the shot, nothing happens
  Absorbs,   // counts as hit, but nothing happens
  Becomes,   // turns into `shotBecomes`, the shooter scores `shotPoints`
  Scatters,  // a burst of producers around it; the shooter scores `shotPoints`
  Revives,   // brings a dead partner back there, else turns into a Chigger
  Explodes,  // a bomb goes off
};

// The editor palette's groups, in the order it shows them.
enum class PaletteGroup : uint8_t {
  None,  // not offered by the palette
  Walls,
  Creatures,
  Producers,
  PickUps,
  DoorsKeys,
  Hazards,
  Slides,
  Lasers,
  Darts,
  Markers,
};

struct CellRow {
  CellCode code;
  const char* name;     // the code's name, as its tile picture is named
  const char* tile;     // picture file, or nullptr
  char legend;          // character in the level text form, or 0
  ThingKind kind;
  const char* wording;  // how the checker's messages name it
  PaletteGroup paletteGroup;
  int paletteSlot;          // place within its palette group
  const char* paletteName;  // the editor's name, or nullptr when not in the palette
  int editorPicture;        // the tile the editor draws for it, or -1
  ScanMove scan;
  CheckRole check;
  Touch touch;
  int contactDamage;  // life a creature takes from a player it walks into
  ShotEffect shot;
  CellCode shotBecomes;
  int shotPoints;
  int slide;     // the direction a slide turns a player to; Dir::None keeps it
  int laserSet;  // 1..4 for a laser and its beam, which fire and go out together
  int aim;       // where a laser fires, a beam stands from its laser, a dart flies
};

constexpr int CellCodeCount = 99;  // codes 0..98

// clang-format off
inline constexpr std::array<CellRow, CellCodeCount> CellTable = {{
    {0, "Floor", "00-Floor.bmp", '.', ThingKind::Floor, "Floor", PaletteGroup::Walls, 0, "Floor", 0, ScanMove::Still, CheckRole::Floor, Touch::Walk, 0, ShotEffect::Flies, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {1, "BrickSolid", "01-BrickSolid.bmp", '#', ThingKind::Wall, "wall", PaletteGroup::Walls, 1, "Solid wall", 1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {2, "Ant", "02-Ant.bmp", 'a', ThingKind::Creature, "Ant", PaletteGroup::Creatures, 0, "Ant", 2, ScanMove::Chase, CheckRole::Shootable, Touch::Blocked, 10, ShotEffect::Becomes, Cell::Floor, 10, Dir::None, 0, Dir::None},
    {3, "Devil", "03-Devil.bmp", 'd', ThingKind::Creature, "Devil", PaletteGroup::Creatures, 1, "Devil", 3, ScanMove::Chase, CheckRole::Shootable, Touch::Blocked, 20, ShotEffect::Becomes, Cell::Ant, 20, Dir::None, 0, Dir::None},
    {4, "Cow", "04-Cow.bmp", 'c', ThingKind::Creature, "Cow", PaletteGroup::Creatures, 2, "Cow", 4, ScanMove::Chase, CheckRole::Shootable, Touch::Blocked, 30, ShotEffect::Becomes, Cell::Devil, 30, Dir::None, 0, Dir::None},
    {5, "Chigger", "05-Chigger.bmp", 'g', ThingKind::Creature, "Chigger", PaletteGroup::Creatures, 3, "Chigger", 5, ScanMove::Chase, CheckRole::Shootable, Touch::Blocked, 40, ShotEffect::Becomes, Cell::Cow, 40, Dir::None, 0, Dir::None},
    {6, "Frog", "06-Frog.bmp", 'f', ThingKind::Creature, "Frog", PaletteGroup::Creatures, 4, "Frog", 6, ScanMove::Wander, CheckRole::Shootable, Touch::Blocked, 50, ShotEffect::Becomes, Cell::Floor, 25, Dir::None, 0, Dir::None},
    {7, "Horse", "07-Horse.bmp", 'h', ThingKind::Creature, "Horse", PaletteGroup::Creatures, 5, "Horse", 7, ScanMove::Chase, CheckRole::Shootable, Touch::Blocked, 90, ShotEffect::Becomes, Cell::Floor, 25, Dir::None, 0, Dir::None},
    {8, "Pig", "08-Pig.bmp", 'p', ThingKind::Creature, "Pig", PaletteGroup::Creatures, 6, "Pig", 8, ScanMove::Chase, CheckRole::Pig, Touch::Blocked, 50, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {9, "AntP", "09-AntP.bmp", 'A', ThingKind::Producer, "Ant producer", PaletteGroup::Producers, 0, "Ant producer", 9, ScanMove::Produce, CheckRole::Shootable, Touch::Blocked, 0, ShotEffect::Becomes, Cell::Floor, 50, Dir::None, 0, Dir::None},
    {10, "DevilP", "10-DevilP.bmp", 'D', ThingKind::Producer, "Devil producer", PaletteGroup::Producers, 1, "Devil producer", 10, ScanMove::Produce, CheckRole::Shootable, Touch::Blocked, 0, ShotEffect::Becomes, Cell::AntP, 70, Dir::None, 0, Dir::None},
    {11, "CowP", "11-CowP.bmp", 'C', ThingKind::Producer, "Cow producer", PaletteGroup::Producers, 2, "Cow producer", 11, ScanMove::Produce, CheckRole::Shootable, Touch::Blocked, 0, ShotEffect::Becomes, Cell::DevilP, 90, Dir::None, 0, Dir::None},
    {12, "FrogP", "12-FrogP.bmp", 'F', ThingKind::Producer, "Frog producer", PaletteGroup::Producers, 3, "Frog producer", 12, ScanMove::Produce, CheckRole::Shootable, Touch::Blocked, 0, ShotEffect::Becomes, Cell::Floor, 75, Dir::None, 0, Dir::None},
    {13, "RandomP", "13-RandomP.bmp", 'R', ThingKind::Producer, "random producer", PaletteGroup::Producers, 4, "Random producer", 13, ScanMove::Produce, CheckRole::Shootable, Touch::Blocked, 50, ShotEffect::Becomes, Cell::Floor, 100, Dir::None, 0, Dir::None},
    {14, "HorseP", "14-HorseP.bmp", 'H', ThingKind::Producer, "Horse producer", PaletteGroup::Producers, 5, "Horse producer", 14, ScanMove::Produce, CheckRole::Shootable, Touch::Blocked, 0, ShotEffect::Scatters, Cell::Floor, 150, Dir::None, 0, Dir::None},
    {15, "Heart", "15-Heart.bmp", 'V', ThingKind::PickUp, "Heart", PaletteGroup::PickUps, 4, "Heart", 15, ScanMove::Still, CheckRole::Shootable, Touch::Blocked, 0, ShotEffect::Revives, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {16, "Health", "16-Health.bmp", '+', ThingKind::PickUp, "health kit", PaletteGroup::PickUps, 1, "Health kit", 16, ScanMove::Still, CheckRole::Item, Touch::HealthKit, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {17, "Bomb", "17-Bomb.bmp", 'b', ThingKind::PickUp, "bomb", PaletteGroup::PickUps, 2, "Bomb", 17, ScanMove::Still, CheckRole::Item, Touch::Bomb, 0, ShotEffect::Explodes, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {18, "Money", "18-Money.bmp", '$', ThingKind::PickUp, "gold", PaletteGroup::PickUps, 0, "Gold", 18, ScanMove::Still, CheckRole::Item, Touch::Gold, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {19, "Key", "19-Key.bmp", 'k', ThingKind::Key, "key", PaletteGroup::DoorsKeys, 0, "Key", 19, ScanMove::Still, CheckRole::Key, Touch::Key, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {20, "Door", "20-Door.bmp", '|', ThingKind::Door, "door", PaletteGroup::DoorsKeys, 1, "Door", 20, ScanMove::Still, CheckRole::Door, Touch::Door, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {21, "BrickEnemyTrans", "21-BrickEnemyTrans.bmp", ':', ThingKind::Wall, "enemy-passable wall", PaletteGroup::Walls, 2, "Creature-passable wall", 21, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {22, "BrickShootable", "22-BrickShootable.bmp", 'x', ThingKind::Wall, "shootable wall", PaletteGroup::Walls, 3, "Shootable wall", 22, ScanMove::ShootableWall, CheckRole::Shootable, Touch::Blocked, 0, ShotEffect::Becomes, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {23, "Start", "23-Start.bmp", 'S', ThingKind::Marker, "Start", PaletteGroup::Markers, 0, "Start", 23, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {24, "Finish", "24-Finish.bmp", 'E', ThingKind::Marker, "Finish", PaletteGroup::Markers, 1, "Finish", 24, ScanMove::Still, CheckRole::Finish, Touch::Finish, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {25, "Player1", "25-Player1.bmp", '1', ThingKind::Player, "player 1 marker", PaletteGroup::Markers, 2, "Player 1 marker", 25, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {26, "Player2", "26-Player2.bmp", '2', ThingKind::Player, "player 2 marker", PaletteGroup::Markers, 3, "Player 2 marker", 26, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {27, "P1Bullet4", "27-P1Bullet4.bmp", 0, ThingKind::Bullet, "object without a picture", PaletteGroup::Markers, 7, "Player 1 shot 4", 27, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {28, "P1Bullet2", "28-P1Bullet2.bmp", 0, ThingKind::Bullet, "object without a picture", PaletteGroup::Markers, 5, "Player 1 shot 2", 28, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {29, "P1Bullet1", "29-P1Bullet1.bmp", 0, ThingKind::Bullet, "object without a picture", PaletteGroup::Markers, 4, "Player 1 shot 1", 29, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {30, "P1Bullet3", "30-P1Bullet3.bmp", 0, ThingKind::Bullet, "object without a picture", PaletteGroup::Markers, 6, "Player 1 shot 3", 30, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {31, "FireP", "31-FireP.bmp", 'T', ThingKind::Producer, "fire-dart producer", PaletteGroup::Darts, 0, "Fire-dart producer", 31, ScanMove::FireDarts, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Absorbs, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {32, "Star", "32-Star.bmp", '*', ThingKind::Creature, "Star", PaletteGroup::Creatures, 7, "Star", 32, ScanMove::StarSpread, CheckRole::Shootable, Touch::Blocked, 0, ShotEffect::Becomes, Cell::Devil, 5, Dir::None, 0, Dir::None},
    {33, "PigP1", "33-PigP1.bmp", '5', ThingKind::Producer, "pig producer", PaletteGroup::Producers, 6, "Piglet producer 1", 33, ScanMove::PigGrow, CheckRole::Wall, Touch::EatPigProducer, 0, ShotEffect::Becomes, Cell::Floor, 3, Dir::None, 0, Dir::None},
    {34, "PigP2", "34-PigP2.bmp", '6', ThingKind::Producer, "pig producer", PaletteGroup::Producers, 7, "Piglet producer 2", 34, ScanMove::PigGrow, CheckRole::Wall, Touch::EatPigProducer, 0, ShotEffect::Becomes, Cell::Floor, 3, Dir::None, 0, Dir::None},
    {35, "PigP3", "35-PigP3.bmp", '7', ThingKind::Producer, "pig producer", PaletteGroup::Producers, 8, "Piglet producer 3", 35, ScanMove::PigGrow, CheckRole::Wall, Touch::EatPigProducer, 0, ShotEffect::Becomes, Cell::Floor, 5, Dir::None, 0, Dir::None},
    {36, "PigP4", "36-PigP4.bmp", '8', ThingKind::Producer, "pig producer", PaletteGroup::Producers, 9, "Piglet producer 4", 36, ScanMove::PigGrow, CheckRole::Wall, Touch::EatPigProducer, 0, ShotEffect::Becomes, Cell::Floor, 7, Dir::None, 0, Dir::None},
    {37, "PigP5", "37-PigP5.bmp", '9', ThingKind::Producer, "adult pig producer", PaletteGroup::Producers, 10, "Adult pig producer", 37, ScanMove::Produce, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {38, "DeathField", "38-DeathField.bmp", '!', ThingKind::Hazard, "death field", PaletteGroup::Hazards, 0, "Death field", 43, ScanMove::Still, CheckRole::Deadly, Touch::Hurts, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {39, "SlideFieldOmni", "39-SlideFieldOmni.bmp", 'o', ThingKind::Slide, "omni slide", PaletteGroup::Slides, 0, "Ice (slide on)", 68, ScanMove::Still, CheckRole::Slide, Touch::Slide, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {40, "LaserSet1_5", "40-LaserSet1-5.bmp", 0, ThingKind::LaserBeam, "laser beam", PaletteGroup::Lasers, 9, "Laser 1 beam down", 40, ScanMove::BeamOff, CheckRole::Deadly, Touch::Hurts, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 1, Dir::Down},
    {41, "LaserSet1_3", "41-LaserSet1-3.bmp", 0, ThingKind::LaserBeam, "laser beam", PaletteGroup::Lasers, 8, "Laser 1 beam right", 41, ScanMove::BeamOff, CheckRole::Deadly, Touch::Hurts, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 1, Dir::Right},
    {42, "Shield", "42-Shield.bmp", 's', ThingKind::PickUp, "shield", PaletteGroup::PickUps, 3, "Shield", 42, ScanMove::Still, CheckRole::Item, Touch::Shield, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {43, "DeathFieldForEditor", "43-DeathField(forEditor).bmp", 0, ThingKind::Marker, "object without a picture", PaletteGroup::Markers, 8, "Editor-only: death field", 43, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {44, "SlideRightForEditor", "44-SlideRight(forEditor).bmp", 0, ThingKind::Marker, "object without a picture", PaletteGroup::Markers, 10, "Editor-only: slide right", 44, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {45, "SlideLeftForEditor", "45-SlideLeft(forEditor).bmp", 0, ThingKind::Marker, "object without a picture", PaletteGroup::Markers, 11, "Editor-only: slide left", 45, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {46, "SlideUpForEditor", "46-SlideUp(forEditor).bmp", 0, ThingKind::Marker, "object without a picture", PaletteGroup::Markers, 12, "Editor-only: slide up", 46, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {47, "SlideDownForEditor", "47-SlideDown(forEditor).bmp", 0, ThingKind::Marker, "object without a picture", PaletteGroup::Markers, 13, "Editor-only: slide down", 47, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {48, "SlideRight", "48-SlideRight.bmp", '>', ThingKind::Slide, "slide right", PaletteGroup::Slides, 1, "Slide right", 44, ScanMove::Still, CheckRole::Slide, Touch::Slide, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::Right, 0, Dir::None},
    {49, "SlideLeft", "49-SlideLeft.bmp", '<', ThingKind::Slide, "slide left", PaletteGroup::Slides, 2, "Slide left", 45, ScanMove::Still, CheckRole::Slide, Touch::Slide, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::Left, 0, Dir::None},
    {50, "SlideUp", "50-SlideUp.bmp", '^', ThingKind::Slide, "slide up", PaletteGroup::Slides, 3, "Slide up", 46, ScanMove::Still, CheckRole::Slide, Touch::Slide, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::Up, 0, Dir::None},
    {51, "SlideDown", "51-SlideDown.bmp", 'v', ThingKind::Slide, "slide down", PaletteGroup::Slides, 4, "Slide down", 47, ScanMove::Still, CheckRole::Slide, Touch::Slide, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::Down, 0, Dir::None},
    {52, "LaserSet3P3", "52-LaserSet3P3.bmp", 'N', ThingKind::Laser, "laser", PaletteGroup::Lasers, 4, "Laser 3 right", 52, ScanMove::LaserFire, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 3, Dir::Right},
    {53, "LaserSet3P5", "53-LaserSet3P5.bmp", 'n', ThingKind::Laser, "laser", PaletteGroup::Lasers, 5, "Laser 3 down", 53, ScanMove::LaserFire, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 3, Dir::Down},
    {54, "LaserSet2P3", "54-LaserSet2P3.bmp", 'M', ThingKind::Laser, "laser", PaletteGroup::Lasers, 2, "Laser 2 right", 54, ScanMove::LaserFire, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 2, Dir::Right},
    {55, "LaserSet2P5", "55-LaserSet2P5.bmp", 'm', ThingKind::Laser, "laser", PaletteGroup::Lasers, 3, "Laser 2 down", 55, ScanMove::LaserFire, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 2, Dir::Down},
    {56, "LaserSet1P3", "56-LaserSet1P3.bmp", 'L', ThingKind::Laser, "laser", PaletteGroup::Lasers, 0, "Laser 1 right", 56, ScanMove::LaserFire, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 1, Dir::Right},
    {57, "LaserSet1P5", "57-LaserSet1P5.bmp", 'l', ThingKind::Laser, "laser", PaletteGroup::Lasers, 1, "Laser 1 down", 57, ScanMove::LaserFire, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 1, Dir::Down},
    {58, "LaserSet4P3", "58-LaserSet4P3.bmp", 'W', ThingKind::Laser, "laser", PaletteGroup::Lasers, 6, "Laser 4 right", 58, ScanMove::LaserFire, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 4, Dir::Right},
    {59, "LaserSet4P5", "59-LaserSet4P5.bmp", 'w', ThingKind::Laser, "laser", PaletteGroup::Lasers, 7, "Laser 4 down", 59, ScanMove::LaserFire, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 4, Dir::Down},
    {60, "Fire8", "60-Fire8.bmp", 0, ThingKind::Dart, "fire dart", PaletteGroup::Darts, 8, "Dart up-left", 60, ScanMove::Dart, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::UpLeft},
    {61, "Fire2", "61-Fire2.bmp", 0, ThingKind::Dart, "fire dart", PaletteGroup::Darts, 2, "Dart up-right", 61, ScanMove::Dart, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::UpRight},
    {62, "Fire1", "62-Fire1.bmp", 0, ThingKind::Dart, "fire dart", PaletteGroup::Darts, 1, "Dart up", 62, ScanMove::Dart, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::Up},
    {63, "Fire7", "63-Fire7.bmp", 0, ThingKind::Dart, "fire dart", PaletteGroup::Darts, 7, "Dart left", 63, ScanMove::Dart, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::Left},
    {64, "Fire4", "64-Fire4.bmp", 0, ThingKind::Dart, "fire dart", PaletteGroup::Darts, 4, "Dart down-right", 64, ScanMove::Dart, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::DownRight},
    {65, "Fire6", "65-Fire6.bmp", 0, ThingKind::Dart, "fire dart", PaletteGroup::Darts, 6, "Dart down-left", 65, ScanMove::Dart, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::DownLeft},
    {66, "Fire5", "66-Fire5.bmp", 0, ThingKind::Dart, "fire dart", PaletteGroup::Darts, 5, "Dart down", 66, ScanMove::Dart, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::Down},
    {67, "Fire3", "67-Fire3.bmp", 0, ThingKind::Dart, "fire dart", PaletteGroup::Darts, 3, "Dart right", 67, ScanMove::Dart, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::Right},
    {68, "SlideFieldOmniForEditor", "68-SlideFieldOmni(forEditor).bmp", 0, ThingKind::Marker, "object without a picture", PaletteGroup::Markers, 9, "Editor-only: ice", 68, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {69, "Unused69", nullptr, 0, ThingKind::Unused, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {70, "Unused70", nullptr, 0, ThingKind::Unused, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {71, "Unused71", nullptr, 0, ThingKind::Unused, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {72, "Unused72", nullptr, 0, ThingKind::Unused, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {73, "Unused73", nullptr, 0, ThingKind::Unused, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {74, "Unused74", nullptr, 0, ThingKind::Unused, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {75, "Unused75", nullptr, 0, ThingKind::Unused, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {76, "Unused76", nullptr, 0, ThingKind::Unused, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {77, "Unused77", nullptr, 0, ThingKind::Unused, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {78, "Unknown", nullptr, 0, ThingKind::Unused, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {79, "Unused79", nullptr, 0, ThingKind::Unused, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {80, "BrickSolidEdge", "80-BrickSolid.bmp", 0, ThingKind::Wall, "edge wall", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {81, "P1Bullet5", "81-P1Bullet5.bmp", 0, ThingKind::Bullet, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {82, "P1Bullet6", "82-P1Bullet6.bmp", 0, ThingKind::Bullet, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {83, "P1Bullet7", "83-P1Bullet7.bmp", 0, ThingKind::Bullet, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {84, "P1Bullet8", "84-P1Bullet8.bmp", 0, ThingKind::Bullet, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {85, "P2Bullet1", "85-P2Bullet1.bmp", 0, ThingKind::Bullet, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {86, "P2Bullet2", "86-P2Bullet2.bmp", 0, ThingKind::Bullet, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {87, "P2Bullet3", "87-P2Bullet3.bmp", 0, ThingKind::Bullet, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {88, "P2Bullet4", "88-P2Bullet4.bmp", 0, ThingKind::Bullet, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {89, "P2Bullet5", "89-P2Bullet5.bmp", 0, ThingKind::Bullet, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {90, "P2Bullet6", "90-P2Bullet6.bmp", 0, ThingKind::Bullet, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {91, "P2Bullet7", "91-P2Bullet7.bmp", 0, ThingKind::Bullet, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {92, "P2Bullet8", "92-P2Bullet8.bmp", 0, ThingKind::Bullet, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::Still, CheckRole::Wall, Touch::Blocked, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 0, Dir::None},
    {93, "LaserSet2_3", "93-LaserSet2-3.bmp", 0, ThingKind::LaserBeam, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::BeamOff, CheckRole::Deadly, Touch::Hurts, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 2, Dir::Right},
    {94, "LaserSet2_5", "94-LaserSet2-5.bmp", 0, ThingKind::LaserBeam, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::BeamOff, CheckRole::Deadly, Touch::Hurts, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 2, Dir::Down},
    {95, "LaserSet3_3", "95-LaserSet3-3.bmp", 0, ThingKind::LaserBeam, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::BeamOff, CheckRole::Deadly, Touch::Hurts, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 3, Dir::Right},
    {96, "LaserSet3_5", "96-LaserSet3-5.bmp", 0, ThingKind::LaserBeam, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::BeamOff, CheckRole::Deadly, Touch::Hurts, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 3, Dir::Down},
    {97, "LaserSet4_3", "97-LaserSet4-3.bmp", 0, ThingKind::LaserBeam, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::BeamOff, CheckRole::Deadly, Touch::Hurts, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 4, Dir::Right},
    {98, "LaserSet4_5", "98-LaserSet4-5.bmp", 0, ThingKind::LaserBeam, "object without a picture", PaletteGroup::None, 0, nullptr, -1, ScanMove::BeamOff, CheckRole::Deadly, Touch::Hurts, 0, ShotEffect::Stops, Cell::Floor, 0, Dir::None, 4, Dir::Down},
}};
// clang-format on

constexpr bool RowsInCodeOrder() {
  for (int c = 0; c < CellCodeCount; ++c)
    if (CellTable[c].code != c) return false;
  return true;
}
static_assert(RowsInCodeOrder(), "one row per code, in code order");

constexpr bool LegendCharactersDiffer() {
  for (const CellRow& a : CellTable)
    for (const CellRow& b : CellTable)
      if (a.legend && a.code != b.code && a.legend == b.legend) return false;
  return true;
}
static_assert(LegendCharactersDiffer(), "a legend character stands for one code");

constexpr bool IsKnownCode(int code) { return static_cast<unsigned>(code) < CellCodeCount; }
// The row of a known code; codes outside 0..98 read as the unknown code's row.
constexpr const CellRow& CellRowOf(int code) {
  return CellTable[IsKnownCode(code) ? code : Cell::Unknown];
}
// The two columns the world tick reads for every cell, packed a byte a code.
inline constexpr auto KindColumn = [] {
  std::array<ThingKind, CellCodeCount> column{};
  for (const CellRow& row : CellTable) column[row.code] = row.kind;
  return column;
}();
inline constexpr auto ScanColumn = [] {
  std::array<ScanMove, CellCodeCount> column{};
  for (const CellRow& row : CellTable) column[row.code] = row.scan;
  return column;
}();
constexpr ThingKind KindOf(int code) {
  return IsKnownCode(code) ? KindColumn[code] : KindColumn[Cell::Unknown];
}
constexpr ScanMove ScanOf(int code) { return IsKnownCode(code) ? ScanColumn[code] : ScanMove::Still; }
constexpr bool HasTilePicture(int code) { return IsKnownCode(code) && CellTable[code].tile != nullptr; }

constexpr Touch TouchOf(int code) { return CellRowOf(code).touch; }
constexpr bool PlayerCanEnterCode(int code) { return TouchOf(code) != Touch::Blocked; }
constexpr ShotEffect ShotOf(int code) { return CellRowOf(code).shot; }
// What a shot hits (rather than only stops at).
constexpr bool CodeIsShootable(int code) {
  const ShotEffect e = ShotOf(code);
  return e != ShotEffect::Flies && e != ShotEffect::Stops;
}
constexpr int SlideDirectionOf(int code) { return CellRowOf(code).slide; }
constexpr bool IsLaserFiring(int code, int aim) {
  return KindOf(code) == ThingKind::Laser && CellRowOf(code).aim == aim;
}

// "creature", "pick-up", ...: how the legend names a kind.
const char* ThingKindName(ThingKind kind);
