#include "base/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// What is wrong with a name that is not a regular file, or empty when it is one.
std::string NotAFile(mode_t mode) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return "it is a folder, not a file";
  if (S_ISFIFO(mode)) return "it is a pipe (FIFO), not a file";
  if (S_ISSOCK(mode)) return "it is a socket, not a file";
  return "it is a device, not a file";
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

// Reads up to `limit` bytes; with `refuseLonger` a file holding more is an error.
template <typename Bytes>
bool ReadRegularFile(const std::string& path, std::size_t limit, bool refuseLonger, Bytes& bytes,
                     std::string& error) {
  auto fail = [&](const std::string& why) {
    error = "Cannot read " + Quoted(path) + ": " + why + ".";
    bytes.clear();
    return false;
  };
  // Looked at before opening: opening a device or a FIFO may wait or act.
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return fail(FileErrorText(errno));
  if (std::string wrong = NotAFile(st.st_mode); !wrong.empty()) return fail(wrong);
  // Non-blocking, so a FIFO put in its place meanwhile cannot hold us up either.
  Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.Get() < 0) return fail(FileErrorText(errno));
  if (::fstat(file.Get(), &st) != 0) return fail(FileErrorText(errno));
  if (std::string wrong = NotAFile(st.st_mode); !wrong.empty()) return fail(wrong);
  const std::size_t want = refuseLonger ? limit + 1 : limit;
  const auto tooLarge = [&] {
    return fail("it is larger than " + std::to_string(limit) + " bytes");
  };
  if (refuseLonger && static_cast<uint64_t>(st.st_size) > limit) return tooLarge();
  try {
    // The size is only a hint: the file may change while it is read.
    std::size_t capacity = std::min<std::size_t>(want, static_cast<std::size_t>(st.st_size) + 1);
    bytes.resize(std::max<std::size_t>(capacity, 1));
    std::size_t got = 0;
    while (got < want) {
      if (got == bytes.size()) bytes.resize(std::min(want, bytes.size() * 2));
      const ssize_t n = ::read(file.Get(), bytes.data() + got, bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return fail(FileErrorText(errno));
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    if (refuseLonger && got > limit) return tooLarge();
    bytes.resize(got);
  } catch (const std::bad_alloc&) {
    return fail(FileErrorText(ENOMEM));
  }
  return true;
}

}  // namespace

std::string FileErrorText(int error) {
  switch (error) {
    case ENOENT: return "there is no such file";
    case EACCES:
    case EPERM: return "permission denied";
    case ENOTDIR: return "a part of its path is not a folder";
    case EISDIR: return "it is a folder, not a file";
    case ELOOP: return "its links lead round in a circle";
    case ENAMETOOLONG: return "the name is too long";
    case ENXIO: return "it is a socket or device, not a file";
    case EIO: return "the disk reported an error";
    case ENOSPC: return "the disk is full";
    case EDQUOT: return "the disk quota is used up";
    case EFBIG: return "the file grew too large";
    case EROFS: return "the disk is write protected";
    case ENOMEM: return "there is not enough memory";
    case EMFILE:
    case ENFILE: return "too many files are open";
    default: return std::strerror(error);
  }
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FileOrSpecialExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool NameTaken(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

bool FileIsReadOnly(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  return (st.st_mode & S_IWUSR) == 0;
}

bool MakeFileWritable(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  if (st.st_mode & S_IWUSR) return true;
  return ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

std::string CurrentDirectoryWithSlash() {
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return "./";
    buffer.resize(buffer.size() * 2);
  }
  std::string dir(buffer.data());
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error,
                   std::size_t maxBytes) {
  return ReadRegularFile(path, maxBytes, true, bytes, error);
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error,
                   std::size_t maxBytes) {
  return ReadRegularFile(path, maxBytes, true, bytes, error);
}

bool ReadFileStart(const std::string& path, std::size_t count, std::vector<uint8_t>& bytes,
                   std::string& error) {
  return ReadRegularFile(path, count, false, bytes, error);
}
