#include "base/child_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

ChildProcess::~ChildProcess() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
}

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
  pid_t pid = 0;
  const int result = ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (result != 0) {
    error = "cannot start \"" + program + "\": " + std::strerror(result);
    return false;
  }
  pid_ = pid;
  exitCode_ = -1;
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

std::string OwnProgramPath() {
  std::string path(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (n <= 0) return "";
  path.resize(static_cast<size_t>(n));
  return path;
}
