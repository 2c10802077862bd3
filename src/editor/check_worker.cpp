#include "editor/check_worker.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <exception>
#include <string>

CheckWorker::CheckWorker(const CheckBudget& budget) : budget_(budget), thread_([this] { Work(); }) {}

CheckWorker::~CheckWorker() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
    cancel_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void CheckWorker::Start(const LevelBytes& bytes, uint64_t revision) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    job_ = Job{bytes, revision, ++ticket_};
    done_.reset();
    waiting_ = true;
    cancel_ = true;  // the check running, if any; the worker clears it for the new one
  }
  wake_.notify_one();
}

void CheckWorker::Cancel() {
  const std::lock_guard<std::mutex> lock(mutex_);
  ++ticket_;
  job_.reset();
  done_.reset();
  waiting_ = false;
  cancel_ = true;
}

std::optional<EditorVerdict> CheckWorker::TakeVerdict() {
  const std::lock_guard<std::mutex> lock(mutex_);
  std::optional<EditorVerdict> verdict;
  verdict.swap(done_);
  if (verdict) waiting_ = false;
  return verdict;
}

bool CheckWorker::Busy() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return waiting_;
}

void CheckWorker::Work() {
  // On a busy machine the window comes first (a thread's own niceness, on Linux).
  setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return quit_ || job_.has_value(); });
      if (quit_) return;
      job = *job_;
      job_.reset();
      cancel_ = false;
    }
    CheckOptions options;
    options.budget = budget_;
    options.cancel = &cancel_;
    EditorVerdict verdict;
    try {
      verdict = CheckForEditor(job.bytes, job.revision, options);
    } catch (const std::exception& e) {
      // Whatever went wrong stays a verdict: the window goes on.
      verdict = FailedCheck(job.revision, std::string("the checker failed: ") + e.what());
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    if (job.ticket == ticket_ && !verdict.result.cancelled) done_ = std::move(verdict);
  }
}
