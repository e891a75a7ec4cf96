#include "services/worker_pool_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

namespace lumadex {
namespace {

class ManualEvent {
 public:
  ManualEvent() : handle_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ManualEvent(const ManualEvent&) = delete;
  ManualEvent& operator=(const ManualEvent&) = delete;
  ~ManualEvent() { CloseHandle(handle_); }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

class ThreadHandle {
 public:
  explicit ThreadHandle(DWORD id) : handle_(OpenThread(SYNCHRONIZE, FALSE, id)) {}
  ThreadHandle(const ThreadHandle&) = delete;
  ThreadHandle& operator=(const ThreadHandle&) = delete;
  ~ThreadHandle() {
    if (handle_) CloseHandle(handle_);
  }
  bool EndsWithin(DWORD ms) const { return handle_ && WaitForSingleObject(handle_, ms) == WAIT_OBJECT_0; }

 private:
  HANDLE handle_;
};

// Runs a trivial piece of work to the end and says which thread ran it.
DWORD ThreadOfNextWork() {
  auto id = std::make_shared<std::atomic<DWORD>>(0);
  WorkerLease lease;
  lease.Start([id] { *id = GetCurrentThreadId(); });
  EXPECT_EQ(WaitForSingleObject(lease.done(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  lease.WaitSucceeded();
  return *id;
}

TEST(WorkerLease, AFinishedWorkerIsLentAgain) {
  const DWORD first = ThreadOfNextWork();
  EXPECT_NE(first, 0u);
  EXPECT_NE(first, GetCurrentThreadId());
  EXPECT_EQ(ThreadOfNextWork(), first);
  EXPECT_EQ(ThreadOfNextWork(), first);
}

TEST(WorkerLease, AnAbandonedWorkerIsNotWaitedForNorLentAgain) {
  auto release = std::make_shared<ManualEvent>();
  auto stuck = std::make_shared<std::atomic<DWORD>>(0);
  {
    WorkerLease lease;
    lease.Start([release, stuck] {
      *stuck = GetCurrentThreadId();
      WaitForSingleObject(release->get(), INFINITE);
    });
    while (*stuck == 0) Sleep(1);
  }  // given up on without waiting
  ThreadHandle stuckThread(*stuck);
  EXPECT_NE(ThreadOfNextWork(), *stuck);

  SetEvent(release->get());
  // Done with its work, the abandoned thread ends instead of joining the pool.
  EXPECT_TRUE(stuckThread.EndsWithin(5000));
  for (int i = 0; i < 3; ++i) EXPECT_NE(ThreadOfNextWork(), *stuck);
}

TEST(WorkerLease, AWorkerAbandonedJustAfterItsWorkEndsIsNotLentAgain) {
  auto id = std::make_shared<std::atomic<DWORD>>(0);
  std::unique_ptr<ThreadHandle> thread;
  {
    WorkerLease lease;
    lease.Start([id] { *id = GetCurrentThreadId(); });
    // Finished, its done signal still unclaimed: lent again, that signal would end the
    // next caller's wait before its own work had run.
    while (*id == 0) Sleep(1);
    thread = std::make_unique<ThreadHandle>(*id);
    Sleep(50);
  }
  EXPECT_TRUE(thread->EndsWithin(5000));
  EXPECT_NE(ThreadOfNextWork(), *id);
}

TEST(WorkerLease, OnlyAFewIdleThreadsAreKept) {
  constexpr int kLeases = 3;
  auto release = std::make_shared<ManualEvent>();
  std::vector<std::shared_ptr<std::atomic<DWORD>>> ids;
  std::vector<std::unique_ptr<ThreadHandle>> threads;
  {
    std::vector<std::unique_ptr<WorkerLease>> leases;
    for (int i = 0; i < kLeases; ++i) {
      auto id = std::make_shared<std::atomic<DWORD>>(0);
      ids.push_back(id);
      leases.push_back(std::make_unique<WorkerLease>());
      leases.back()->Start([release, id] {
        *id = GetCurrentThreadId();
        WaitForSingleObject(release->get(), INFINITE);
      });
    }
    for (const auto& id : ids) {
      while (*id == 0) Sleep(1);
      threads.push_back(std::make_unique<ThreadHandle>(*id));
    }
    SetEvent(release->get());
    for (auto& lease : leases) {
      ASSERT_EQ(WaitForSingleObject(lease->done(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));
      lease->WaitSucceeded();
    }
  }
  EXPECT_EQ(IdleWorkerCount(), 2);
  const auto countEnded = [&threads] {
    int ended = 0;
    for (const auto& thread : threads) ended += thread->EndsWithin(0) ? 1 : 0;
    return ended;
  };
  for (int i = 0; i < 200 && countEnded() < kLeases - 2; ++i) Sleep(10);
  Sleep(50);
  EXPECT_EQ(countEnded(), kLeases - 2);
}

}  // namespace
}  // namespace lumadex
