#include "base/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace {

constexpr int StopPollMs = 10;

void SleepMs(int ms) {
  const timespec pause{ms / 1000, (ms % 1000) * 1000000L};
  ::nanosleep(&pause, nullptr);
}

// Between fork and exec only calls that are safe in a forked child: no allocation, no
// locks. The reason of a failure goes to the parent through `report`.
[[noreturn]] void BecomeChild(const char* program, char* const* argv, pid_t parent, int report) {
  // The child goes with its parent: the parent may be killed outright and never get
  // to stop it. Had the parent died before this took hold, the child is an orphan now.
  if (::prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || ::getppid() != parent) {
    const int why = ::getppid() != parent ? ESRCH : errno;
    (void)!::write(report, &why, sizeof why);
    ::_exit(127);
  }
  ::execve(program, argv, environ);
  const int why = errno;
  (void)!::write(report, &why, sizeof why);
  ::_exit(127);
}

}  // namespace

ChildProcess::~ChildProcess() { Stop(); }

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& args, std::string& error) {
  if (pid_ > 0) {
    error = "a program is already running";
    return false;
  }
  std::vector<std::string> all{program};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) {
    error = "cannot start \"" + program + "\": " + std::strerror(errno);
    return false;
  }
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(report[0]);
    BecomeChild(program.c_str(), argv.data(), parent, report[1]);
  }
  const int forkError = errno;
  ::close(report[1]);
  if (pid < 0) {
    ::close(report[0]);
    error = "cannot start \"" + program + "\": " + std::strerror(forkError);
    return false;
  }
  // The pipe closes at a successful exec; otherwise it brings the reason.
  int why = 0;
  ssize_t n;
  while ((n = ::read(report[0], &why, sizeof why)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  pid_ = pid;
  exitCode_ = -1;
  if (n == static_cast<ssize_t>(sizeof why)) {
    Stop(0);
    error = "cannot start \"" + program + "\": " + std::strerror(why);
    return false;
  }
  return true;
}

bool ChildProcess::Ended() {
  if (pid_ <= 0) return true;
  int status = 0;
  const pid_t done = ::waitpid(pid_, &status, WNOHANG);
  if (done == 0) return false;
  if (done < 0 && errno == EINTR) return false;
  pid_ = 0;
  if (done < 0)
    exitCode_ = -1;
  else if (WIFEXITED(status))
    exitCode_ = WEXITSTATUS(status);
  else if (WIFSIGNALED(status))
    exitCode_ = 128 + WTERMSIG(status);
  return true;
}

void ChildProcess::Stop(int graceMs) {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  for (int waited = 0; waited < graceMs; waited += StopPollMs) {
    if (Ended()) return;
    SleepMs(StopPollMs);
  }
  if (Ended()) return;
  ::kill(pid_, SIGKILL);
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = 0;
  exitCode_ = 128 + SIGKILL;
}

std::string OwnProgramPath() {
  std::string path(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (n <= 0) return "";
  path.resize(static_cast<size_t>(n));
  return path;
}
