#pragma once
// A program started beside this one, watched without waiting on it: the caller keeps
// its own loop going and asks from time to time whether the child has ended. The child
// never outlives this program: it is sent SIGTERM when this one dies, however it dies.
#include <string>
#include <sys/types.h>
#include <vector>

class ChildProcess {
 public:
  // How long a child asked to end may take before it is killed.
  static constexpr int StopGraceMs = 3000;

  ChildProcess() = default;
  // A child still running when this goes is stopped (see Stop).
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `program` with `args` (no shell in between); false with a reason.
  bool Start(const std::string& program, const std::vector<std::string>& args, std::string& error);
  bool Running() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }
  // True once the child has ended (never blocks); ExitCode() then tells how: its exit
  // status, or 128 + the signal that ended it.
  bool Ended();
  int ExitCode() const { return exitCode_; }
  // Asks a running child to end (SIGTERM) and waits for it; one that has not ended
  // after `graceMs` is killed.
  void Stop(int graceMs = StopGraceMs);

 private:
  pid_t pid_ = 0;
  int exitCode_ = -1;
};

// The path of the running program itself.
std::string OwnProgramPath();
