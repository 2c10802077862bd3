#pragma once
// Makes the game's music from assets/music/: NN-*.tune become Music/MIDIFILENN.MID and
// opening.tune is rendered into Sounds/S99-OpeningSong.mp3.
#include <string>

#include "music_maker/note_list.h"

// The opening song plays at the game's mixing rate; it is rendered at twice that.
constexpr int OpeningSongRate = 22050;

bool MakeMusic(const std::string& assetsDir, const std::string& gameDir, std::string& error);
// Reads and parses one note-list file; errors name the file and line.
bool ReadTune(const std::string& path, Tune& tune, std::string& error);
