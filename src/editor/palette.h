#pragma once
// Every cell code a level can hold, grouped as the palette shows them, with the names
// the editor uses and the picture it shows for each.
#include <cstdint>
#include <string>
#include <vector>

#include "world/cell_kinds.h"

struct PaletteEntry {
  uint8_t code;
  const char* name;
};

struct PaletteGroupEntries {
  const char* name;
  std::vector<PaletteEntry> entries;
};

// Walls, creatures, producers, pick-ups, doors and keys, hazards, slides, lasers, darts
// and markers: together the codes 0..68, each once, as the cell table places them.
const std::vector<PaletteGroupEntries>& PaletteGroups();

// The tile picture the editor draws for a byte, or -1 when it has none: death fields
// and slides wear their editor pictures (marked for the editor, apart from the floor
// and from each other); every other code with a picture wears its own.
int EditorPictureOf(uint8_t byte);
// The editor-only codes (43..47, 68): drawn like the death field and slides in the
// editor, but lifeless obstacles in play.
bool IsEditorOnlyCode(uint8_t byte);
// "Ant", "Solid wall", ...; bytes without an object: "No object (byte 200)".
std::string CellName(uint8_t byte);
// Where a code stands in the palette; false for bytes it does not hold.
bool FindInPalette(uint8_t byte, int& group, int& entry);
