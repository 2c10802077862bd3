#include "world/cell_kinds.h"

const char* ThingKindName(ThingKind kind) {
  switch (kind) {
    case ThingKind::Floor: return "floor";
    case ThingKind::Wall: return "wall";
    case ThingKind::Creature: return "creature";
    case ThingKind::Producer: return "producer";
    case ThingKind::PickUp: return "pick-up";
    case ThingKind::Door: return "door";
    case ThingKind::Key: return "key";
    case ThingKind::Hazard: return "hazard";
    case ThingKind::Slide: return "slide";
    case ThingKind::Laser: return "laser";
    case ThingKind::LaserBeam: return "laser beam";
    case ThingKind::Dart: return "dart";
    case ThingKind::Bullet: return "shot";
    case ThingKind::Player: return "player";
    case ThingKind::Marker: return "marker";
    case ThingKind::Unused: return "no object";
  }
  return "";
}
