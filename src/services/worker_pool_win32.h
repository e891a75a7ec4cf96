// Threads for blocking work handed off by the UI thread. A thread that finished its work
// waits for the next piece instead of ending, so back-to-back requests pay for neither a
// new thread nor new kernel objects; a thread whose work hangs is abandoned by its caller,
// ends on its own once the work returns, and is never handed work again.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>

namespace lumadex {

class Worker;

// Idle threads kept for the next requests: enough for the download run's four side by side
// and a fetch nested in them by a message handler; threads beyond that end when handed back.
inline constexpr int kMostIdleWorkers = 6;

// One worker thread, lent to one caller at a time.
class WorkerLease {
 public:
  // An idle thread from the pool, or a new one. Throws std::system_error when no thread
  // or event can be made.
  WorkerLease();
  WorkerLease(const WorkerLease&) = delete;
  WorkerLease& operator=(const WorkerLease&) = delete;
  // Back to the pool if the work was seen to finish; abandoned otherwise.
  ~WorkerLease();

  // Runs `work` on the thread. It must own whatever it touches: the caller may abandon it
  // and return before it ends. Once per lease.
  void Start(std::function<void()> work);
  // Auto-reset event, set when the work has returned. The caller's wait on it consumes
  // the signal; WaitSucceeded() says that it did.
  HANDLE done() const;
  void WaitSucceeded() { finished_ = true; }

 private:
  std::shared_ptr<Worker> worker_;
  bool started_ = false;
  bool finished_ = false;
};

// Worker threads now waiting for work (for tests and the benchmark).
int IdleWorkerCount();

}  // namespace lumadex
