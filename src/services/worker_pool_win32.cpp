#include "services/worker_pool_win32.h"

#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "winmsg/report_win32.h"
#include "winmsg/unique_handle_win32.h"

namespace lumadex {
namespace {

KernelObject NewAutoResetEvent() {
  KernelObject event(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  if (!event) throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "CreateEvent");
  return event;
}

}  // namespace

// Guards a slim reader/writer lock, taken exclusively.
class SrwGuard {
 public:
  explicit SrwGuard(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
  SrwGuard(const SrwGuard&) = delete;
  SrwGuard& operator=(const SrwGuard&) = delete;
  ~SrwGuard() { ReleaseSRWLockExclusive(&lock_); }

 private:
  SRWLOCK& lock_;
};

class Worker {
 public:
  static std::shared_ptr<Worker> Launch() {
    auto worker = std::make_shared<Worker>();
    // The thread holds the worker too: an abandoned worker outlives its last caller.
    std::thread([worker] { worker->Run(); }).detach();
    return worker;
  }

  HANDLE done() const { return done_.get(); }

  // The hand-over goes through a condition variable rather than an event: under Wine it
  // wakes the thread without a round trip to the wine server, which is most of what the
  // UI thread would otherwise spend per request.
  void Start(std::function<void()> work) {
    {
      SrwGuard guard(lock_);
      work_ = std::move(work);
      busy_ = true;
      state_ = State::Work;
    }
    WakeConditionVariable(&wake_);
  }

  // The caller no longer waits for the work. A worker still running it ends once it
  // returns; one already past it (its done signal unconsumed, so unfit to lend again)
  // ends now.
  void Abandon() {
    {
      SrwGuard guard(lock_);
      abandoned_ = true;
      if (busy_) return;
      state_ = State::Quit;
    }
    WakeConditionVariable(&wake_);
  }

  // Ends the thread; only for an idle worker.
  void Retire() {
    {
      SrwGuard guard(lock_);
      state_ = State::Quit;
    }
    WakeConditionVariable(&wake_);
  }

 private:
  enum class State { Idle, Work, Quit };

  void Run() {
    for (;;) {
      std::function<void()> work;
      {
        SrwGuard guard(lock_);
        while (state_ == State::Idle) SleepConditionVariableSRW(&wake_, &lock_, INFINITE, 0);
        if (state_ == State::Quit) return;
        state_ = State::Idle;
        work = std::move(work_);
        work_ = nullptr;
      }
      // The work is meant to catch its own failures; should one escape anyway, the caller
      // must still hear that the work is over rather than wait for ever.
      try {
        work();
      } catch (...) {
        ReportCallbackFailure(L"a worker thread's work");
      }
      work = nullptr;
      {
        SrwGuard guard(lock_);
        busy_ = false;
        if (abandoned_) return;
      }
      SetEvent(done_.get());
    }
  }

  const KernelObject done_ = NewAutoResetEvent();
  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE wake_ = CONDITION_VARIABLE_INIT;
  State state_ = State::Idle;
  std::function<void()> work_;
  bool busy_ = false;
  bool abandoned_ = false;
};

namespace {

struct Pool {
  std::mutex mutex;
  std::vector<std::shared_ptr<Worker>> idle;
};

// Never destroyed: abandoned workers may still be running at exit.
Pool& ThePool() {
  static Pool* const pool = new Pool;
  return *pool;
}

}  // namespace

WorkerLease::WorkerLease() {
  {
    Pool& pool = ThePool();
    std::lock_guard lock(pool.mutex);
    if (!pool.idle.empty()) {
      worker_ = std::move(pool.idle.back());
      pool.idle.pop_back();
    }
  }
  if (!worker_) worker_ = Worker::Launch();
}

WorkerLease::~WorkerLease() {
  if (started_ && !finished_) {
    worker_->Abandon();
    return;
  }
  Pool& pool = ThePool();
  std::lock_guard lock(pool.mutex);
  if (pool.idle.size() < static_cast<size_t>(kMostIdleWorkers)) {
    pool.idle.push_back(std::move(worker_));
  } else {
    worker_->Retire();
  }
}

void WorkerLease::Start(std::function<void()> work) {
  started_ = true;
  worker_->Start(std::move(work));
}

HANDLE WorkerLease::done() const { return worker_->done(); }

int IdleWorkerCount() {
  Pool& pool = ThePool();
  std::lock_guard lock(pool.mutex);
  return static_cast<int>(pool.idle.size());
}

}  // namespace lumadex
