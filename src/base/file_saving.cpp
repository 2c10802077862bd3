#include "base/file_saving.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "base/files.h"

namespace {

FileWriteCall writeCall = nullptr;

// The temporary files of a save are named "<target>.new-" and six random letters or
// digits.
constexpr const char* TemporarySuffix = ".new";
constexpr std::size_t UniqueLength = 6;
constexpr int MaxLinkHops = 40;
// Fresh temporary files taken away by other savers before they were ours (see Create).
constexpr int MaxCreateAttempts = 8;

struct Place {
  std::string prefix;  // the folder with its '/', or empty for the working directory
  std::string name;
  std::string Folder() const { return prefix.empty() ? "." : prefix; }
};

Place PlaceOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {"", path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// The file a chain of links leads to (which may not exist yet); the path itself when
// it is no link. False when the chain goes round in a circle.
bool FollowLinks(std::string& path) {
  for (int hop = 0; hop < MaxLinkHops; ++hop) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::string target(4096, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return true;
    target.resize(static_cast<std::size_t>(n));
    path = target[0] == '/' ? target : PlaceOf(path).prefix + target;
  }
  return false;
}

bool IsTemporaryLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Exactly the names mkostemp gives our temporary files of `name`.
bool IsTemporaryName(const std::string& entry, const std::string& name) {
  const std::string prefix = name + TemporarySuffix + "-";
  if (entry.size() != prefix.size() + UniqueLength || !entry.starts_with(prefix)) return false;
  return std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix.size()), entry.end(),
                     IsTemporaryLetter);
}

// Temporary files of saves that were killed. Only what we can tell is ours goes: a
// regular file of ours under exactly such a name, that no running save holds locked.
// Links, FIFOs and look-alikes are someone else's and stay.
void RemoveStaleTemporaries(const Place& place) {
  DIR* folder = ::opendir(place.Folder().c_str());
  if (!folder) return;
  const int folderFd = ::dirfd(folder);
  while (const dirent* entry = ::readdir(folder)) {
    if (!IsTemporaryName(entry->d_name, place.name)) continue;
    struct stat st;
    if (::fstatat(folderFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
        st.st_uid != ::geteuid())
      continue;
    const int fd = ::openat(folderFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat opened;
    // Still the file looked at, and no save holds it.
    if (::fstat(fd, &opened) == 0 && opened.st_ino == st.st_ino && opened.st_dev == st.st_dev &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0)
      ::unlinkat(folderFd, entry->d_name, 0);
    ::close(fd);
  }
  ::closedir(folder);
}

bool SameFolder(const Place& a, const Place& b) {
  struct stat sa, sb;
  return ::stat(a.Folder().c_str(), &sa) == 0 && ::stat(b.Folder().c_str(), &sb) == 0 &&
         sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

void SyncFolder(const Place& place) {
  const int fd = ::open(place.Folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // some file systems cannot; the file itself is on disk already
  ::close(fd);
}

// A file made under a fresh name beside the target; removed again unless it was given
// the target's name.
class TemporaryFile {
 public:
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!published_ && !path_.empty()) ::unlink(path_.c_str());
  }

  // errno tells what failed.
  bool Create(const Place& place) {
    for (int attempt = 0; attempt < MaxCreateAttempts; ++attempt) {
      std::string pattern = place.prefix + place.name + TemporarySuffix + "-XXXXXX";
      // O_EXCL inside: never an existing name, link or special file.
      const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
      if (fd < 0) return false;
      ::flock(fd, LOCK_EX);  // marks it as in use until it is closed
      // Another program saving beside us may have taken it for a killed save's before
      // the lock was on, and removed it: this one would never get its name.
      struct stat st;
      if (::fstat(fd, &st) == 0 && st.st_nlink > 0) {
        fd_ = fd;
        path_ = pattern;
        return true;
      }
      ::close(fd);
    }
    errno = EAGAIN;
    return false;
  }

  bool Fill(std::string_view bytes, mode_t mode, const struct stat* previous) {
    // The owner first: changing it clears set-id bits that the mode may then restore.
    if (previous && (previous->st_uid != ::geteuid() || previous->st_gid != ::getegid()))
      (void)::fchown(fd_, previous->st_uid, previous->st_gid);
    if (::fchmod(fd_, mode) != 0) return false;
    const FileWriteCall write = writeCall ? writeCall : &::write;
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        if (n == 0) errno = ENOSPC;
        return false;
      }
      done += static_cast<std::size_t>(n);
    }
    return ::fsync(fd_) == 0;
  }

  const std::string& Path() const { return path_; }
  void Published() { published_ = true; }

 private:
  int fd_ = -1;
  std::string path_;
  bool published_ = false;
};

// Gives `from` the name `to` unless something has that name; 0 or an errno value.
int RenameWithoutReplacing(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
  // A file system without that rename: a hard link cannot replace either.
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return 0;
  }
  if (errno != EPERM && errno != ENOTSUP) return errno;
  if (NameTaken(to)) return EEXIST;
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

bool Fail(const std::string& path, const std::string& why, std::string& error) {
  error = "Cannot save \"" + path + "\": " + why + ".";
  return false;
}

}  // namespace

bool ReplaceFile(const std::string& path, std::string_view bytes, std::string& error) {
  std::string target = path;
  if (!FollowLinks(target)) return Fail(path, FileErrorText(ELOOP), error);
  const Place place = PlaceOf(target);
  // Clean-up stays in the folder the caller named: a link's target folder is someone
  // else's, unless it is that same folder.
  const Place named = PlaceOf(path);
  RemoveStaleTemporaries(named);
  if (target != path && SameFolder(place, named)) RemoveStaleTemporaries(place);
  struct stat previous;
  const bool exists = ::lstat(target.c_str(), &previous) == 0;
  if (exists && S_ISDIR(previous.st_mode)) return Fail(path, "it is a folder", error);
  if (exists && !S_ISREG(previous.st_mode)) return Fail(path, "it is not a regular file", error);
  TemporaryFile temporary;
  if (!temporary.Create(place)) return Fail(path, FileErrorText(errno), error);
  const mode_t mode = exists ? previous.st_mode & 07777 : NewFileMode();
  if (!temporary.Fill(bytes, mode, exists ? &previous : nullptr) ||
      ::rename(temporary.Path().c_str(), target.c_str()) != 0)
    return Fail(path, FileErrorText(errno), error);
  temporary.Published();
  SyncFolder(place);
  return true;
}

NewFileResult WriteNewFile(const std::string& path, std::string_view bytes, std::string& error) {
  if (NameTaken(path)) return NewFileResult::NameTaken;
  const Place place = PlaceOf(path);
  RemoveStaleTemporaries(place);
  TemporaryFile temporary;
  if (!temporary.Create(place) || !temporary.Fill(bytes, NewFileMode(), nullptr)) {
    Fail(path, FileErrorText(errno), error);
    return NewFileResult::Failed;
  }
  const int renamed = RenameWithoutReplacing(temporary.Path(), path);
  if (renamed == EEXIST) return NewFileResult::NameTaken;
  if (renamed != 0) {
    Fail(path, FileErrorText(renamed), error);
    return NewFileResult::Failed;
  }
  temporary.Published();
  SyncFolder(place);
  return NewFileResult::Written;
}

void SetFileWriteCall(FileWriteCall call) { writeCall = call; }
