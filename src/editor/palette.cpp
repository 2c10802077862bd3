#include "editor/palette.h"

#include "world/cell_codes.h"

const std::vector<PaletteGroup>& PaletteGroups() {
  static const std::vector<PaletteGroup> groups = {
      {"Walls", {{0, "Floor"}, {1, "Solid wall"}, {21, "Creature-passable wall"}, {22, "Shootable wall"}}},
      {"Creatures",
       {{2, "Ant"}, {3, "Devil"}, {4, "Cow"}, {5, "Chigger"}, {6, "Frog"}, {7, "Horse"}, {8, "Pig"},
        {32, "Star"}}},
      {"Producers",
       {{9, "Ant producer"}, {10, "Devil producer"}, {11, "Cow producer"}, {12, "Frog producer"},
        {13, "Random producer"}, {14, "Horse producer"}, {33, "Piglet producer 1"},
        {34, "Piglet producer 2"}, {35, "Piglet producer 3"}, {36, "Piglet producer 4"},
        {37, "Adult pig producer"}}},
      {"Pick-ups", {{18, "Gold"}, {16, "Health kit"}, {17, "Bomb"}, {42, "Shield"}, {15, "Heart"}}},
      {"Doors & keys", {{19, "Key"}, {20, "Door"}}},
      {"Hazards", {{38, "Death field"}}},
      {"Slides",
       {{39, "Ice (slide on)"}, {48, "Slide right"}, {49, "Slide left"}, {50, "Slide up"},
        {51, "Slide down"}}},
      {"Lasers",
       {{56, "Laser 1 right"}, {57, "Laser 1 down"}, {54, "Laser 2 right"}, {55, "Laser 2 down"},
        {52, "Laser 3 right"}, {53, "Laser 3 down"}, {58, "Laser 4 right"}, {59, "Laser 4 down"},
        {41, "Laser 1 beam right"}, {40, "Laser 1 beam down"}}},
      {"Darts",
       {{31, "Fire-dart producer"}, {62, "Dart up"}, {61, "Dart up-right"}, {67, "Dart right"},
        {64, "Dart down-right"}, {66, "Dart down"}, {65, "Dart down-left"}, {63, "Dart left"},
        {60, "Dart up-left"}}},
      {"Markers",
       {{23, "Start"}, {24, "Finish"}, {25, "Player 1 marker"}, {26, "Player 2 marker"},
        {29, "Player 1 shot 1"}, {28, "Player 1 shot 2"}, {30, "Player 1 shot 3"},
        {27, "Player 1 shot 4"}, {43, "Editor-only: death field"}, {68, "Editor-only: ice"},
        {44, "Editor-only: slide right"}, {45, "Editor-only: slide left"},
        {46, "Editor-only: slide up"}, {47, "Editor-only: slide down"}}},
  };
  return groups;
}

int EditorPictureOf(uint8_t byte) {
  switch (byte) {
    case Cell::DeathField: return Cell::DeathFieldForEditor;
    case Cell::SlideFieldOmni: return Cell::SlideFieldOmniForEditor;
    case Cell::SlideRight: return Cell::SlideRightForEditor;
    case Cell::SlideLeft: return Cell::SlideLeftForEditor;
    case Cell::SlideUp: return Cell::SlideUpForEditor;
    case Cell::SlideDown: return Cell::SlideDownForEditor;
    default: break;
  }
  // A byte of 78 or more reads as code 78 or as a negative code: no picture either way.
  return byte <= Cell::SlideFieldOmniForEditor ? byte : -1;
}

bool IsEditorOnlyCode(uint8_t byte) {
  return (byte >= Cell::DeathFieldForEditor && byte <= Cell::SlideDownForEditor) ||
         byte == Cell::SlideFieldOmniForEditor;
}

bool FindInPalette(uint8_t byte, int& group, int& entry) {
  const auto& groups = PaletteGroups();
  for (size_t g = 0; g < groups.size(); ++g)
    for (size_t e = 0; e < groups[g].entries.size(); ++e)
      if (groups[g].entries[e].code == byte) {
        group = static_cast<int>(g);
        entry = static_cast<int>(e);
        return true;
      }
  return false;
}

std::string CellName(uint8_t byte) {
  int group = 0, entry = 0;
  if (FindInPalette(byte, group, entry)) return PaletteGroups()[group].entries[entry].name;
  return "No object (byte " + std::to_string(byte) + ")";
}
