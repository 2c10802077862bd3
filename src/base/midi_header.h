#pragma once
// The header chunk of a standard MIDI file, checked before a piece is handed to the
// synthesiser (which takes any bytes and merely stays silent).
#include <cstddef>
#include <cstdint>
#include <span>

// The bytes a check needs from the start of the file.
inline constexpr std::size_t MidiHeaderBytes = 14;

// "MThd", a header of at least six bytes, format 0, 1 or 2 (format 0 with one track),
// at least one track and a non-zero time division.
bool IsStandardMidiHeader(std::span<const uint8_t> fileStart);
