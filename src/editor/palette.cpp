#include "editor/palette.h"

#include "world/cell_kinds.h"

namespace {

const char* GroupTitle(PaletteGroup group) {
  switch (group) {
    case PaletteGroup::None: return "";
    case PaletteGroup::Walls: return "Walls";
    case PaletteGroup::Creatures: return "Creatures";
    case PaletteGroup::Producers: return "Producers";
    case PaletteGroup::PickUps: return "Pick-ups";
    case PaletteGroup::DoorsKeys: return "Doors & keys";
    case PaletteGroup::Hazards: return "Hazards";
    case PaletteGroup::Slides: return "Slides";
    case PaletteGroup::Lasers: return "Lasers";
    case PaletteGroup::Darts: return "Darts";
    case PaletteGroup::Markers: return "Markers";
  }
  return "";
}

std::vector<PaletteGroupEntries> GroupsOfTable() {
  std::vector<PaletteGroupEntries> groups;
  for (int g = static_cast<int>(PaletteGroup::Walls); g <= static_cast<int>(PaletteGroup::Markers);
       ++g) {
    const auto group = static_cast<PaletteGroup>(g);
    PaletteGroupEntries shown{GroupTitle(group), {}};
    for (const CellRow& row : CellTable)
      if (row.paletteGroup == group) {
        if (shown.entries.size() <= static_cast<size_t>(row.paletteSlot))
          shown.entries.resize(row.paletteSlot + 1);
        shown.entries[row.paletteSlot] = {static_cast<uint8_t>(row.code), row.paletteName};
      }
    groups.push_back(std::move(shown));
  }
  return groups;
}

}  // namespace

const std::vector<PaletteGroupEntries>& PaletteGroups() {
  static const std::vector<PaletteGroupEntries> groups = GroupsOfTable();
  return groups;
}

int EditorPictureOf(uint8_t byte) { return IsKnownCode(byte) ? CellTable[byte].editorPicture : -1; }

bool IsEditorOnlyCode(uint8_t byte) {
  for (const CellRow& row : CellTable)
    if (row.editorPicture == byte && row.code != byte) return true;
  return false;
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
