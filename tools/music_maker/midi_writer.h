#pragma once
// Standard MIDI files (format 1): a tempo track, then one track per tune track.
#include <cstdint>
#include <vector>

#include "music_maker/note_list.h"

// Appends a MIDI variable-length quantity (7 bits a byte, high bit = more follows).
void AppendVarLen(std::vector<uint8_t>& out, uint32_t value);
std::vector<uint8_t> WriteMidi(const Tune& tune);
