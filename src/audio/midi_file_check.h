#pragma once
// Our own check of a standard MIDI file's structure: the synthesiser plays whatever it
// can make of a damaged file, often nothing, so a piece counts as loadable only when its
// header and every track's events are whole.
#include <cstdint>
#include <span>
#include <string>

bool CheckMidiFile(std::span<const uint8_t> bytes, std::string& error);
