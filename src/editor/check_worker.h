#pragma once
// The checker on a thread of its own, so that the window never waits for it: the window
// thread hands it a copy of the level and collects the verdict when it polls; the worker
// touches nothing else. One check at a time: a new one, or Cancel, stops the one running,
// whose verdict is never handed out.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>

#include "editor/verdict.h"

class CheckWorker {
 public:
  // `budget` bounds every check (the checker's default when not given).
  explicit CheckWorker(const CheckBudget& budget = {});
  // Stops the check running and waits for the thread.
  ~CheckWorker();
  CheckWorker(const CheckWorker&) = delete;
  CheckWorker& operator=(const CheckWorker&) = delete;

  void Start(const LevelBytes& bytes, uint64_t revision);
  void Cancel();
  // The verdict of the check started last, once; nothing before it is there.
  std::optional<EditorVerdict> TakeVerdict();
  // A check was started and its verdict not taken yet.
  bool Busy() const;

 private:
  struct Job {
    LevelBytes bytes;
    uint64_t revision;
    uint64_t ticket;
  };
  void Work();

  CheckBudget budget_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Job> job_;  // waiting to be started
  std::optional<EditorVerdict> done_;
  uint64_t ticket_ = 0;     // of the check wanted now
  bool waiting_ = false;    // for the check of ticket_
  bool quit_ = false;
  std::atomic<bool> cancel_{false};
  std::thread thread_;  // last: it starts once everything above is there
};
