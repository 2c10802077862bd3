#pragma once
// File-system helpers in the game's terms. Every file the game reads goes through
// ReadWholeFile: regular files only, never waiting on a FIFO or device, never throwing.
// Saving is in base/file_saving.h.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A regular file is there (links followed).
bool FileExists(const std::string& path);
// Something other than a folder is there (links followed): a file in the Windows sense,
// readable or not. A FIFO or device counts; reading it then fails.
bool FileOrSpecialExists(const std::string& path);
// Anything at all has this name, even a dangling link.
bool NameTaken(const std::string& path);
// Read-only means: the owner may not write it.
bool FileIsReadOnly(const std::string& path);
// Makes the file writable by its owner again; false when that failed.
bool MakeFileWritable(const std::string& path);
// The working directory, ending with '/'.
std::string CurrentDirectoryWithSlash();

// A short reason for a file-system error number, in the game's words.
std::string FileErrorText(int error);

// Larger files are refused by default: far beyond any file of the game.
inline constexpr std::size_t MaxReadBytes = std::size_t{64} << 20;

// The whole of a regular file. A folder, FIFO, device or socket is refused at once, as
// is a file longer than `maxBytes`; false with a reason naming the file in `error`.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error,
                   std::size_t maxBytes = MaxReadBytes);
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error,
                   std::size_t maxBytes = MaxReadBytes);
// At most the first `count` bytes of a regular file (fewer when it is shorter).
bool ReadFileStart(const std::string& path, std::size_t count, std::vector<uint8_t>& bytes,
                   std::string& error);
