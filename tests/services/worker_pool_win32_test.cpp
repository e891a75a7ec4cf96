#include "services/worker_pool_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

#include "winmsg/unique_handle_win32.h"

namespace lumadex {
namespace {

std::shared_ptr<KernelObject> NewManualEvent() {
  return std::make_shared<KernelObject>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

KernelObject OpenThreadById(DWORD id) { return KernelObject(OpenThread(SYNCHRONIZE, FALSE, id)); }

bool EndsWithin(const KernelObject& thread, DWORD ms) {
  return thread && WaitForSingleObject(thread.get(), ms) == WAIT_OBJECT_0;
}

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
  auto release = NewManualEvent();
  auto stuck = std::make_shared<std::atomic<DWORD>>(0);
  {
    WorkerLease lease;
    lease.Start([release, stuck] {
      *stuck = GetCurrentThreadId();
      WaitForSingleObject(release->get(), INFINITE);
    });
    while (*stuck == 0) Sleep(1);
  }  // given up on without waiting
  const KernelObject stuckThread = OpenThreadById(*stuck);
  EXPECT_NE(ThreadOfNextWork(), *stuck);

  SetEvent(release->get());
  // Done with its work, the abandoned thread ends instead of joining the pool.
  EXPECT_TRUE(EndsWithin(stuckThread, 5000));
  for (int i = 0; i < 3; ++i) EXPECT_NE(ThreadOfNextWork(), *stuck);
}

TEST(WorkerLease, AWorkerAbandonedJustAfterItsWorkEndsIsNotLentAgain) {
  auto id = std::make_shared<std::atomic<DWORD>>(0);
  KernelObject thread;
  {
    WorkerLease lease;
    lease.Start([id] { *id = GetCurrentThreadId(); });
    // Finished, its done signal still unclaimed: lent again, that signal would end the
    // next caller's wait before its own work had run.
    while (*id == 0) Sleep(1);
    thread = OpenThreadById(*id);
    Sleep(50);
  }
  EXPECT_TRUE(EndsWithin(thread, 5000));
  EXPECT_NE(ThreadOfNextWork(), *id);
}

TEST(WorkerLease, OnlyAFewIdleThreadsAreKept) {
  constexpr int kLeases = kMostIdleWorkers + 1;
  auto release = NewManualEvent();
  std::vector<std::shared_ptr<std::atomic<DWORD>>> ids;
  std::vector<KernelObject> threads;
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
      threads.push_back(OpenThreadById(*id));
    }
    SetEvent(release->get());
    for (auto& lease : leases) {
      ASSERT_EQ(WaitForSingleObject(lease->done(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));
      lease->WaitSucceeded();
    }
  }
  EXPECT_EQ(IdleWorkerCount(), kMostIdleWorkers);
  const auto countEnded = [&threads] {
    int ended = 0;
    for (const KernelObject& thread : threads) ended += EndsWithin(thread, 0) ? 1 : 0;
    return ended;
  };
  for (int i = 0; i < 200 && countEnded() < kLeases - kMostIdleWorkers; ++i) Sleep(10);
  Sleep(50);
  EXPECT_EQ(countEnded(), kLeases - kMostIdleWorkers);
}

}  // namespace
}  // namespace lumadex
