#pragma once
// A process told apart from a later one that got the same number: its pid and the time
// it started (in clock ticks since boot, from /proc). Files and folders that belong to
// a running program carry this in their names, so that what a killed program left
// behind can be recognised and removed, and what a live one uses is never touched.
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

struct ProcessIdentity {
  pid_t pid = 0;
  uint64_t started = 0;
};

// The process with this number now; false when there is none or /proc cannot tell.
bool IdentityOf(pid_t pid, ProcessIdentity& identity);
// This process.
bool ThisProcess(ProcessIdentity& identity);

enum class ProcessState { Running, Gone, Unknown };
// Running: that very process is still there. Gone: no process has the number, the one
// that has it started at another time, or it is a zombie. Unknown: /proc would not say.
ProcessState StateOf(const ProcessIdentity& identity);
// The tag (see IdentityTag) names a process that is provably gone.
bool TagOfGoneProcess(std::string_view tag);

// "PID-STARTED", and back; parsing takes exactly that form (no signs, no spaces).
std::string IdentityTag(const ProcessIdentity& identity);
bool ParseIdentityTag(std::string_view tag, ProcessIdentity& identity);
