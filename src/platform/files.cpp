#include "platform/files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <vector>

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FileIsReadOnly(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return false;
  return (st.st_mode & S_IWUSR) == 0;
}

bool MakeFileWritable(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return false;
  if (st.st_mode & S_IWUSR) return true;
  return chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

std::string CurrentDirectoryWithSlash() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return "./";
    buffer.resize(buffer.size() * 2);
  }
  std::string dir(buffer.data());
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}
