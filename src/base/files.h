#pragma once
// File-system helpers in the game's terms.
#include <cstdint>
#include <string>
#include <vector>

bool FileExists(const std::string& path);
// Read-only means: the owner may not write it.
bool FileIsReadOnly(const std::string& path);
// Makes the file writable by its owner again; false when that failed.
bool MakeFileWritable(const std::string& path);
// The working directory, ending with '/'.
std::string CurrentDirectoryWithSlash();
// Replaces `path` with `text` through a temporary file in the same directory, so a
// failed write leaves the old file as it was. False when anything failed.
bool ReplaceFileText(const std::string& path, const std::string& text);
// The whole file's bytes; false with a reason in `error`.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);
