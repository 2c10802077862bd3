#pragma once
// Saving files so that a failure or a kill never leaves a torn or foreign file: the
// bytes go to a fresh temporary file beside the target, which then takes its name.
#include <cstddef>
#include <string>
#include <string_view>

#include <sys/types.h>

// Saves `bytes` as `path` whole or not at all: a fresh temporary file beside the target
// (a new name, never a link or special file left there), synced, renamed over the
// target, then the folder synced. A target that is a link keeps being one: the file it
// leads to is replaced. The target keeps its permissions. Temporary files that an
// earlier save of the same name left when it was killed are removed first (only in the
// folder `path` names, only our own regular files); nothing is left behind by a failure.
bool ReplaceFile(const std::string& path, std::string_view bytes, std::string& error);

enum class NewFileResult { Written, NameTaken, Failed };
// Creates `path` holding `bytes`, complete or not at all, only while nothing has that
// name: an existing file, folder, FIFO or link is never replaced (NameTaken).
NewFileResult WriteNewFile(const std::string& path, std::string_view bytes, std::string& error);

// Every write of the two savers goes through this; fault tests slow it down or fail it.
using FileWriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
void SetFileWriteCall(FileWriteCall call);  // nullptr restores ::write
