#include "base/process_identity.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <limits>

namespace {

enum class StatRead { Read, Missing, Failed };

// The state letter and start time of /proc/PID/stat. The process's name comes in
// parentheses and may hold anything, spaces and ')' too: the fields follow its last ')'.
StatRead ReadStat(pid_t pid, char& state, uint64_t& started) {
  const std::string path = "/proc/" + std::to_string(pid) + "/stat";
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ESRCH ? StatRead::Missing : StatRead::Failed;
  char buffer[1024];
  std::size_t got = 0;
  for (;;) {
    const ssize_t n = ::read(fd, buffer + got, sizeof buffer - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
    if (got == sizeof buffer) break;
  }
  const int readError = got == 0 ? errno : 0;
  ::close(fd);
  // A process that ended between open and read leaves an empty file behind.
  if (got == 0) return readError == ESRCH || readError == 0 ? StatRead::Missing : StatRead::Failed;
  const std::string_view text(buffer, got);
  const std::size_t close = text.rfind(')');
  if (close == std::string_view::npos || close + 2 >= text.size()) return StatRead::Failed;
  // After ") ": field 3 is the state, field 22 the start time.
  std::size_t at = close + 2;
  state = text[at];
  for (int field = 3; field < 22; ++field) {
    at = text.find(' ', at);
    if (at == std::string_view::npos) return StatRead::Failed;
    ++at;
  }
  const char* end = text.data() + text.size();
  const auto [next, ec] = std::from_chars(text.data() + at, end, started);
  return ec == std::errc() ? StatRead::Read : StatRead::Failed;
}

bool ParseNumber(std::string_view text, uint64_t& value) {
  if (text.empty() || text.size() > 20) return false;
  const auto [next, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && next == text.data() + text.size();
}

}  // namespace

bool IdentityOf(pid_t pid, ProcessIdentity& identity) {
  char state = 0;
  identity.pid = pid;
  return ReadStat(pid, state, identity.started) == StatRead::Read;
}

bool ThisProcess(ProcessIdentity& identity) { return IdentityOf(::getpid(), identity); }

ProcessState StateOf(const ProcessIdentity& identity) {
  if (identity.pid <= 0) return ProcessState::Unknown;
  char state = 0;
  uint64_t started = 0;
  ProcessIdentity self;
  switch (ReadStat(identity.pid, state, started)) {
    // Missing means gone only where /proc is there to ask.
    case StatRead::Missing: return ThisProcess(self) ? ProcessState::Gone : ProcessState::Unknown;
    case StatRead::Failed: return ProcessState::Unknown;
    case StatRead::Read: break;
  }
  if (started != identity.started || state == 'Z' || state == 'X') return ProcessState::Gone;
  return ProcessState::Running;
}

std::string IdentityTag(const ProcessIdentity& identity) {
  return std::to_string(identity.pid) + "-" + std::to_string(identity.started);
}

bool ParseIdentityTag(std::string_view tag, ProcessIdentity& identity) {
  const std::size_t dash = tag.find('-');
  if (dash == std::string_view::npos) return false;
  uint64_t pid = 0, started = 0;
  if (!ParseNumber(tag.substr(0, dash), pid) || !ParseNumber(tag.substr(dash + 1), started)) return false;
  if (pid == 0 || pid > static_cast<uint64_t>(std::numeric_limits<pid_t>::max())) return false;
  identity.pid = static_cast<pid_t>(pid);
  identity.started = started;
  return true;
}

bool TagOfGoneProcess(std::string_view tag) {
  ProcessIdentity owner;
  return ParseIdentityTag(tag, owner) && StateOf(owner) == ProcessState::Gone;
}
