#pragma once
// Names for the General MIDI percussion keys on channel 10.
#include <string>

// The key of a drum name ("kick" -> 36), or -1 for a name that is not a drum.
int DrumKey(const std::string& name);
