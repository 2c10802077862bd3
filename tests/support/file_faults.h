#pragma once
// Faults for the game's savers: writes that fail as on a full disk, or that crawl so a
// kill lands in the middle of a save.
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_saving.h"

// Every write of the savers fails with "no space left" while this lives.
class FullDiskWrites {
 public:
  FullDiskWrites() {
    SetFileWriteCall([](int, const void*, std::size_t) -> ssize_t {
      errno = ENOSPC;
      return -1;
    });
  }
  ~FullDiskWrites() { SetFileWriteCall(nullptr); }
  FullDiskWrites(const FullDiskWrites&) = delete;
  FullDiskWrites& operator=(const FullDiskWrites&) = delete;
};

// Writes one byte at a time with a pause after each, for the rest of the process.
inline void CrawlingWrites() {
  SetFileWriteCall([](int fd, const void* data, std::size_t size) -> ssize_t {
    if (size == 0) return 0;
    const timespec pause{0, 20000};
    nanosleep(&pause, nullptr);
    return ::write(fd, data, 1);
  });
}

// The names in `dir` that start with `prefix` (the temporary files of a save).
inline std::vector<std::string> NamesStartingWith(const std::filesystem::path& dir,
                                                  const std::string& prefix) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(prefix)) names.push_back(name);
  }
  return names;
}
