#pragma once
// Kills a piece of work at every point where it changes files, not at random moments:
// the work runs in a child process traced at its system calls, and the child is killed
// (SIGKILL, as by the system) on entering its n-th call that writes, syncs, creates,
// renames or removes something (or opens a file for writing). A first run counts those calls; a test then kills at
// each of them in turn and checks what was left behind.
#include <fcntl.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <initializer_list>

namespace kill_points {

inline bool OpensForWriting(uint64_t flags) { return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0; }

inline bool ChangesFiles(const __ptrace_syscall_info& info) {
  const uint64_t nr = info.entry.nr;
#ifdef SYS_open
  if (nr == SYS_open) return OpensForWriting(info.entry.args[1]);
#endif
  if (nr == SYS_openat) return OpensForWriting(info.entry.args[2]);
  for (long call : {
#ifdef SYS_rename
           SYS_rename,
#endif
#ifdef SYS_unlink
           SYS_unlink,
#endif
#ifdef SYS_rmdir
           SYS_rmdir,
#endif
#ifdef SYS_mkdir
           SYS_mkdir,
#endif
#ifdef SYS_symlink
           SYS_symlink,
#endif
#ifdef SYS_link
           SYS_link,
#endif
           SYS_renameat, SYS_renameat2, SYS_unlinkat, SYS_mkdirat, SYS_symlinkat, SYS_linkat,
           SYS_write, SYS_pwrite64, SYS_fsync, SYS_fdatasync, SYS_fchmod, SYS_fchown, SYS_ftruncate})
    if (nr == static_cast<uint64_t>(call)) return true;
  return false;
}

}  // namespace kill_points

// Runs `work` in a child and kills it on entering its `killAt`-th call that changes
// files (never with 0). Returns how many such calls it entered; -1 when tracing failed.
inline int RunKilledAt(int killAt, const std::function<void()>& work) {
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
    ::raise(SIGSTOP);
    work();
    ::_exit(0);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFSTOPPED(status)) return -1;
  if (::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL) != 0) {
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    return -1;
  }
  int entered = 0, pass = 0;
  for (;;) {
    if (::ptrace(PTRACE_SYSCALL, child, nullptr, pass) != 0) break;
    if (::waitpid(child, &status, 0) != child || WIFEXITED(status) || WIFSIGNALED(status)) return entered;
    pass = 0;
    if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
      pass = WSTOPSIG(status);  // a signal of its own: delivered
      continue;
    }
    __ptrace_syscall_info info{};
    if (::ptrace(PTRACE_GET_SYSCALL_INFO, child, sizeof info, &info) <= 0) break;
    if (info.op != PTRACE_SYSCALL_INFO_ENTRY || !kill_points::ChangesFiles(info)) continue;
    if (++entered == killAt) break;
  }
  ::kill(child, SIGKILL);
  ::waitpid(child, &status, 0);
  return entered;
}
