// A child program never outlives the program that started it, and one that will not
// end when asked is killed; processes are told apart from later ones with their number.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "base/child_process.h"
#include "base/process_identity.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Waits up to `seconds` for our child `pid` to end; its status, or -1 when it did not.
int WaitForEnd(pid_t pid, int seconds) {
  const auto until = Clock::now() + std::chrono::seconds(seconds);
  for (;;) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid) return status;
    if (Clock::now() > until) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

TEST(ProcessIdentity, TellsARunningProcessFromOneThatEndedOrGaveItsNumberAway) {
  ProcessIdentity self;
  ASSERT_TRUE(ThisProcess(self));
  EXPECT_EQ(StateOf(self), ProcessState::Running);
  ProcessIdentity back;
  ASSERT_TRUE(ParseIdentityTag(IdentityTag(self), back));
  EXPECT_EQ(back.pid, self.pid);
  EXPECT_EQ(back.started, self.started);
  // The same number, started at another time: the number was given to a newer process.
  EXPECT_EQ(StateOf(ProcessIdentity{self.pid, self.started + 1}), ProcessState::Gone);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::pause();
    ::_exit(0);
  }
  ProcessIdentity running;
  ASSERT_TRUE(IdentityOf(child, running));
  EXPECT_EQ(StateOf(running), ProcessState::Running);
  ::kill(child, SIGKILL);
  // Dead but not yet waited for (a zombie) counts as gone, and so does no process at all.
  for (int i = 0; i < 200 && StateOf(running) == ProcessState::Running; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(StateOf(running), ProcessState::Gone);
  ASSERT_EQ(::waitpid(child, nullptr, 0), child);
  EXPECT_EQ(StateOf(running), ProcessState::Gone);

  for (const char* junk : {"", "12", "12-", "-5", "12-x", "0-5", "+3-4", "3-+4", "3-4-5", "99999999999-1"})
    EXPECT_FALSE(ParseIdentityTag(junk, back)) << junk;
}

TEST(ChildProcess, DiesWithItsParentEvenWhenThatIsKilled) {
  // Orphans come to this test, so it can see how they end.
  ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const pid_t parent = ::fork();
  ASSERT_GE(parent, 0);
  if (parent == 0) {
    ChildProcess sleeper;
    std::string error;
    pid_t pid = sleeper.Start("/bin/sleep", {"60"}, error) ? sleeper.Pid() : -1;
    (void)!::write(pipeFds[1], &pid, sizeof pid);
    ::pause();
    ::_exit(0);
  }
  pid_t sleeper = -1;
  ASSERT_EQ(::read(pipeFds[0], &sleeper, sizeof sleeper), static_cast<ssize_t>(sizeof sleeper));
  ::close(pipeFds[0]);
  ::close(pipeFds[1]);
  ASSERT_GT(sleeper, 0);
  ::kill(parent, SIGKILL);
  ASSERT_EQ(::waitpid(parent, nullptr, 0), parent);
  const int status = WaitForEnd(sleeper, 10);
  if (status == -1) {
    ::kill(sleeper, SIGKILL);
    ::waitpid(sleeper, nullptr, 0);
  }
  ::prctl(PR_SET_CHILD_SUBREAPER, 0);
  ASSERT_NE(status, -1) << "the child lives on after its parent was killed";
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
}

TEST(ChildProcess, OneThatWillNotEndWhenAskedIsKilled) {
  const fs::path ready = fs::temp_directory_path() / ("trok-child-ready-" + std::to_string(::getpid()));
  fs::remove(ready);
  ChildProcess stubborn;
  std::string error;
  // The shell ignores SIGTERM and hands that on to the program it becomes.
  ASSERT_TRUE(stubborn.Start("/bin/sh", {"-c", "trap '' TERM; : > \"$0\"; exec sleep 60", ready.string()}, error))
      << error;
  for (int i = 0; i < 500 && !fs::exists(ready); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(fs::exists(ready));
  const auto begun = Clock::now();
  stubborn.Stop(300);
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - begun).count();
  EXPECT_FALSE(stubborn.Running());
  EXPECT_EQ(stubborn.ExitCode(), 128 + SIGKILL);
  EXPECT_GE(took, 250);
  EXPECT_LT(took, 5000);
  fs::remove(ready);
  // A program that cannot be started says why, and nothing runs.
  ChildProcess missing;
  EXPECT_FALSE(missing.Start("/no/such/program", {}, error));
  EXPECT_NE(error.find("/no/such/program"), std::string::npos) << error;
  EXPECT_FALSE(missing.Running());
}

}  // namespace
