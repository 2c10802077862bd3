#pragma once
// A tiny tmpfs to fill up, for saves on a full disk. Mounting needs root (and a kernel
// that lets us); a test without it is skipped with a message.
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

class SmallDisk {
 public:
  // Mounts `kilobytes` of tmpfs on `where` (made if missing); Mounted() tells.
  SmallDisk(const std::filesystem::path& where, int kilobytes) : where_(where) {
    std::filesystem::create_directories(where);
    const std::string options = "size=" + std::to_string(kilobytes) + "k";
    if (::mount("tmpfs", where.c_str(), "tmpfs", 0, options.c_str()) == 0)
      mounted_ = true;
    else
      why_ = std::strerror(errno);
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(where_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool Mounted() const { return mounted_; }
  std::string SkipReason() const { return "cannot mount a small tmpfs here (" + why_ + ")"; }

  // Takes every free block but `leaveBytes` (rounded to whole pages).
  void Fill(std::size_t leaveBytes = 0) {
    std::ofstream filler(where_ / "filler", std::ios::binary | std::ios::app);
    const std::vector<char> page(4096, 'x');
    const auto space = std::filesystem::space(where_);
    std::size_t left = space.available > leaveBytes ? space.available - leaveBytes : 0;
    while (left >= page.size() && filler.write(page.data(), page.size())) left -= page.size();
    filler.flush();
  }

 private:
  std::filesystem::path where_;
  bool mounted_ = false;
  std::string why_;
};
