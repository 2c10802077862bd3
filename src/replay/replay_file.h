#pragma once
// The replay file: a versioned binary form of a Replay that carries its own SHA-256.
// Readers refuse what they cannot trust with one clear sentence and never allocate
// more than the file's size justifies.
#include <cstdint>
#include <string>
#include <string_view>

#include "replay/replay.h"

class PackedWriter;
class PackedReader;

// The folder of a game directory that keeps its games, and how every replay file's name ends.
inline constexpr const char* ReplayFolderName = "Replays";
inline constexpr const char* ReplayExtension = ".trokreplay";

// A replay is never this large, packed or unpacked: four hours of busy play fit in it,
// and what a reader holds of it stays a few ten megabytes at worst.
inline constexpr std::size_t MaxReplayBytes = std::size_t{2} << 20;

std::string EncodeReplay(const Replay& replay);
// The two halves of it: the replay's contents, and those contents wrapped as a file
// (the magic line, the format, the packed contents, the checksum).
std::string EncodeReplayBody(const Replay& replay);
std::string PackReplayBody(std::string_view body);

// The parts of it that other messages carry too (a network game's start, its joystick
// readings); a reader's failure stays in the reader.
void WriteReplaySettings(PackedWriter& w, const ReplaySettings& settings);
void ReadReplaySettings(PackedReader& r, ReplaySettings& settings);
void WriteJoystickReading(PackedWriter& w, const JoystickReading& reading);
JoystickReading ReadJoystickReading(PackedReader& r);

enum class ReplayReadResult { Ok, Unreadable, Damaged, WrongVersion };
// `error` names what is wrong (without the file's name).
ReplayReadResult DecodeReplay(std::string_view bytes, Replay& replay, std::string& error);

// Reads and decodes a file; `error` names the file.
ReplayReadResult ReadReplayFile(const std::string& path, Replay& replay, std::string& error);
